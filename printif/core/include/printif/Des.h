#pragma once
// DES (FIPS 46-3) on 64-bit blocks, table-driven: the S-boxes fused with the P permutation, the
// bit permutations looked up a byte at a time. Everything lives in the caller's frame, so any
// number of threads may use it at once.

#include <array>
#include <cstdint>

namespace kx {

// One round key as the two words the round function xors in: the even-numbered six-bit groups
// in the first word, the odd-numbered ones in the second.
struct DesRoundKey {
    uint32_t even = 0;
    uint32_t odd = 0;
};

// The sixteen round keys of one DES key, in the order of one direction.
struct DesKeySchedule {
    std::array<DesRoundKey, 16> rounds;
};

// The key schedule of an 8-byte key (parity bits ignored), for encryption or decryption.
DesKeySchedule MakeDesKeySchedule(const uint8_t* key, bool encrypt);

// Big-endian load and store: byte 0 holds bit 1 of the block.
uint64_t LoadDesBlock(const uint8_t* bytes);
void StoreDesBlock(uint64_t block, uint8_t* bytes);

// One DES operation on a block.
uint64_t DesCrypt(uint64_t block, const DesKeySchedule& schedule);

// E(k1, D(k2, E(k1, block))) when the schedules are (k1 encrypt, k2 decrypt, k1 encrypt), and
// likewise for decryption: three DES operations without the permutations between them.
uint64_t TripleDesCrypt(uint64_t block, const DesKeySchedule& first, const DesKeySchedule& second,
                        const DesKeySchedule& third);

}  // namespace kx
