#include "printif/Des.h"

#include <bit>
#include <cstddef>
#include <utility>

namespace kx {
namespace {

// The tables of FIPS 46-3, bit 1 being the most significant bit.
constexpr std::array<uint8_t, 64> kInitialPermutation = {
    58, 50, 42, 34, 26, 18, 10, 2,  60, 52, 44, 36, 28, 20, 12, 4,  62, 54, 46, 38, 30, 22,
    14, 6,  64, 56, 48, 40, 32, 24, 16, 8,  57, 49, 41, 33, 25, 17, 9,  1,  59, 51, 43, 35,
    27, 19, 11, 3,  61, 53, 45, 37, 29, 21, 13, 5,  63, 55, 47, 39, 31, 23, 15, 7};

constexpr std::array<uint8_t, 32> kPermutationP = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23,
                                                   26, 5, 18, 31, 10, 2,  8,  24, 14, 32, 27,
                                                   3,  9, 19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::array<uint8_t, 56> kPermutedChoice1 = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
    35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
    46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::array<uint8_t, 48> kPermutedChoice2 = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::array<uint8_t, 16> kRotations = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr uint8_t kSBoxes[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4, 9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6,  9, 11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0,  8,  13, 3, 12, 9,  7, 5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2,  15, 8, 6,  1,  4, 11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8,  1, 4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2, 8,  4, 6, 15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8, 10, 3,
     7,  4, 12, 5, 6, 11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6, 10, 13,
     15, 3, 5,  8, 2, 1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};

// A bit permutation looked up one input byte at a time: entry [i][v] holds the output bits that
// byte i of the input contributes when it has the value v.
template <size_t InputBytes>
using ByteSlicedTable = std::array<std::array<uint64_t, 256>, InputBytes>;

// Output bit j takes input bit source[j] (1-based, counted from the most significant bit of an
// InputBytes-wide value) and lands on the bits outputMask(j).
template <size_t InputBytes, size_t OutputBits, typename OutputMask>
constexpr ByteSlicedTable<InputBytes> MakeByteSlicedTable(
    const std::array<uint8_t, OutputBits>& source, OutputMask outputMask) {
    ByteSlicedTable<InputBytes> table{};
    for (size_t j = 0; j < OutputBits; ++j) {
        const size_t inputBit = source[j] - 1u;
        const unsigned shiftInByte = 7 - inputBit % 8;
        for (unsigned v = 0; v < 256; ++v) {
            if ((v >> shiftInByte) & 1u) {
                table[inputBit / 8][v] |= outputMask(j);
            }
        }
    }
    return table;
}

template <size_t InputBytes>
inline uint64_t Permute(const ByteSlicedTable<InputBytes>& table, uint64_t input) {
    uint64_t output = 0;
    for (size_t i = 0; i < InputBytes; ++i) {
        output |= table[i][(input >> (8 * (InputBytes - 1 - i))) & 0xFF];
    }
    return output;
}

// Output bit j as bit j counted from the most significant of a Bits-wide value.
template <size_t Bits>
constexpr uint64_t MostSignificantFirst(size_t j) {
    return uint64_t{1} << (Bits - 1 - j);
}

constexpr std::array<uint8_t, 64> Inverse(const std::array<uint8_t, 64>& permutation) {
    std::array<uint8_t, 64> inverse{};
    for (size_t j = 0; j < 64; ++j) {
        inverse[permutation[j] - 1u] = static_cast<uint8_t>(j + 1);
    }
    return inverse;
}

// The round function reads its eight six-bit groups of the expanded half from two rotations of
// it, r <<< 5 (groups 0, 6, 4, 2 at bits 0, 8, 16, 24) and r <<< 9 (groups 1, 7, 5, 3), so the
// round keys hold their groups at the same places: even groups in the high word, odd in the low.
constexpr unsigned GroupOffset(size_t group) {
    return static_cast<unsigned>((4 - group / 2) % 4 * 8);
}

constexpr uint64_t RoundKeyBit(size_t j) {
    const size_t group = j / 6;
    const unsigned bit = static_cast<unsigned>(5 - j % 6) + GroupOffset(group);
    return uint64_t{1} << (group % 2 == 0 ? 32 + bit : bit);
}

constexpr auto kInitialTable =
    MakeByteSlicedTable<8>(kInitialPermutation, MostSignificantFirst<64>);
constexpr auto kFinalTable =
    MakeByteSlicedTable<8>(Inverse(kInitialPermutation), MostSignificantFirst<64>);
constexpr auto kChoice1Table = MakeByteSlicedTable<8>(kPermutedChoice1, MostSignificantFirst<56>);
constexpr auto kChoice2Table = MakeByteSlicedTable<7>(kPermutedChoice2, RoundKeyBit);

// S-box i fused with the permutation P: entry [i][v] is P applied to S-box i's output for the
// six-bit group v, placed at that box's four bits.
constexpr std::array<std::array<uint32_t, 64>, 8> MakeSpTables() {
    std::array<std::array<uint32_t, 64>, 8> sp{};
    for (size_t box = 0; box < 8; ++box) {
        for (unsigned v = 0; v < 64; ++v) {
            const unsigned row = ((v >> 4) & 2u) | (v & 1u);
            const unsigned column = (v >> 1) & 15u;
            const uint32_t boxOutput = uint32_t{kSBoxes[box][row * 16 + column]} << (28 - 4 * box);
            uint32_t permuted = 0;
            for (size_t j = 0; j < 32; ++j) {
                if ((boxOutput >> (32 - kPermutationP[j])) & 1u) {
                    permuted |= uint32_t{1} << (31 - j);
                }
            }
            sp[box][v] = permuted;
        }
    }
    return sp;
}
constexpr auto kSp = MakeSpTables();

inline uint32_t Feistel(uint32_t half, const DesRoundKey& key) {
    const uint32_t even = std::rotl(half, 5) ^ key.even;
    const uint32_t odd = std::rotl(half, 9) ^ key.odd;
    return kSp[0][even & 63] ^ kSp[6][(even >> 8) & 63] ^ kSp[4][(even >> 16) & 63] ^
           kSp[2][(even >> 24) & 63] ^ kSp[1][odd & 63] ^ kSp[7][(odd >> 8) & 63] ^
           kSp[5][(odd >> 16) & 63] ^ kSp[3][(odd >> 24) & 63];
}

// Sixteen rounds on the halves of a permuted block; leaves them in the order of the preoutput.
inline void Rounds(uint32_t& left, uint32_t& right, const DesKeySchedule& schedule) {
    for (size_t i = 0; i < 16; i += 2) {
        left ^= Feistel(right, schedule.rounds[i]);
        right ^= Feistel(left, schedule.rounds[i + 1]);
    }
    std::swap(left, right);
}

}  // namespace

DesKeySchedule MakeDesKeySchedule(const uint8_t* key, bool encrypt) {
    constexpr uint32_t kMask28 = 0x0FFFFFFF;
    const uint64_t chosen = Permute(kChoice1Table, LoadDesBlock(key));
    uint32_t c = static_cast<uint32_t>(chosen >> 28) & kMask28;
    uint32_t d = static_cast<uint32_t>(chosen) & kMask28;
    DesKeySchedule schedule;
    for (size_t i = 0; i < 16; ++i) {
        const unsigned shift = kRotations[i];
        c = ((c << shift) | (c >> (28 - shift))) & kMask28;
        d = ((d << shift) | (d >> (28 - shift))) & kMask28;
        const uint64_t roundKey = Permute(kChoice2Table, (uint64_t{c} << 28) | d);
        schedule.rounds[encrypt ? i : 15 - i] = {static_cast<uint32_t>(roundKey >> 32),
                                                 static_cast<uint32_t>(roundKey)};
    }
    return schedule;
}

uint64_t LoadDesBlock(const uint8_t* bytes) {
    uint64_t block = 0;
    for (size_t i = 0; i < 8; ++i) {
        block = (block << 8) | bytes[i];
    }
    return block;
}

void StoreDesBlock(uint64_t block, uint8_t* bytes) {
    for (size_t i = 0; i < 8; ++i) {
        bytes[i] = static_cast<uint8_t>(block >> (56 - 8 * i));
    }
}

uint64_t DesCrypt(uint64_t block, const DesKeySchedule& schedule) {
    const uint64_t permuted = Permute(kInitialTable, block);
    uint32_t left = static_cast<uint32_t>(permuted >> 32);
    uint32_t right = static_cast<uint32_t>(permuted);
    Rounds(left, right, schedule);
    return Permute(kFinalTable, (uint64_t{left} << 32) | right);
}

uint64_t TripleDesCrypt(uint64_t block, const DesKeySchedule& first, const DesKeySchedule& second,
                        const DesKeySchedule& third) {
    // The final permutation of one step and the initial one of the next cancel out.
    const uint64_t permuted = Permute(kInitialTable, block);
    uint32_t left = static_cast<uint32_t>(permuted >> 32);
    uint32_t right = static_cast<uint32_t>(permuted);
    Rounds(left, right, first);
    Rounds(left, right, second);
    Rounds(left, right, third);
    return Permute(kFinalTable, (uint64_t{left} << 32) | right);
}

}  // namespace kx
