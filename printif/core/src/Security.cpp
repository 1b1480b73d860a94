#include "printif/Security.h"

#include <cstring>

#include "printif/Des.h"
#include "printif/Md5.h"

namespace kx {
namespace {

constexpr uint32_t kBlock = 8;

// The three key schedules of one two-key triple-DES direction.
struct TripleDesSchedules {
    DesKeySchedule first;
    DesKeySchedule second;
    DesKeySchedule third;
};

TripleDesSchedules MakeTripleDesSchedules(const uint8_t* key, bool encrypt) {
    const DesKeySchedule outer = MakeDesKeySchedule(key, encrypt);
    return {outer, MakeDesKeySchedule(key + kBlock, !encrypt), outer};
}

uint64_t TripleDes(uint64_t block, const TripleDesSchedules& schedules) {
    return TripleDesCrypt(block, schedules.first, schedules.second, schedules.third);
}

template <typename PadByte>
void Pad(const uint8_t* src, uint32_t length, uint8_t* dst, uint32_t* outLength, int32_t force,
         PadByte padByte) {
    if ((src == nullptr && length != 0) || dst == nullptr || outLength == nullptr) {
        return;
    }
    if (length != 0) {
        std::memmove(dst, src, length);
    }
    const uint32_t remainder = length % kBlock;
    if (remainder == 0 && force == 0) {
        *outLength = length;
        return;
    }
    const uint32_t padLength = kBlock - remainder;
    for (uint32_t i = 0; i < padLength; ++i) {
        dst[length + i] = padByte(i, padLength);
    }
    *outLength = length + padLength;
}

}  // namespace

void DesCalc(const uint8_t* in, uint8_t* out, const uint8_t* key, int32_t encrypt) {
    if (in == nullptr || out == nullptr || key == nullptr) {
        return;
    }
    const DesKeySchedule schedule = MakeDesKeySchedule(key, encrypt != 0);
    StoreDesBlock(DesCrypt(LoadDesBlock(in), schedule), out);
}

void TripleDesCalc(const uint8_t* in, uint8_t* out, const uint8_t* key, int32_t encrypt) {
    TripleDesEcbCalc(in, kBlock, out, key, encrypt);
}

void TripleDesEcbCalc(const uint8_t* in, uint32_t length, uint8_t* out, const uint8_t* key,
                      int32_t encrypt) {
    if (in == nullptr || out == nullptr || key == nullptr) {
        return;
    }
    const uint32_t blocks = length / kBlock;
    if (blocks == 0) {
        return;
    }
    const TripleDesSchedules schedules = MakeTripleDesSchedules(key, encrypt != 0);
    for (uint32_t i = 0; i < blocks; ++i) {
        const size_t offset = size_t{i} * kBlock;
        StoreDesBlock(TripleDes(LoadDesBlock(in + offset), schedules), out + offset);
    }
}

void TripleDesCbcCalc(const uint8_t* iv, const uint8_t* in, uint32_t length, uint8_t* out,
                      const uint8_t* key, int32_t encrypt) {
    if (iv == nullptr || in == nullptr || out == nullptr || key == nullptr) {
        return;
    }
    const uint32_t blocks = length / kBlock;
    if (blocks == 0) {
        return;
    }
    const TripleDesSchedules schedules = MakeTripleDesSchedules(key, encrypt != 0);
    uint64_t chain = LoadDesBlock(iv);
    for (uint32_t i = 0; i < blocks; ++i) {
        const size_t offset = size_t{i} * kBlock;
        const uint64_t input = LoadDesBlock(in + offset);
        if (encrypt != 0) {
            chain = TripleDes(input ^ chain, schedules);
            StoreDesBlock(chain, out + offset);
        } else {
            // The ciphertext block is kept before its plaintext is stored, so that decrypting
            // in place chains with the ciphertext as it must.
            StoreDesBlock(TripleDes(input, schedules) ^ chain, out + offset);
            chain = input;
        }
    }
}

void Md5Calc(const uint8_t* data, uint32_t length, uint8_t* out) {
    if ((data == nullptr && length != 0) || out == nullptr) {
        return;
    }
    Md5Digest(data, length, out);
}

void PaddingWith80(const uint8_t* src, uint32_t length, uint8_t* dst, uint32_t* outLength,
                   int32_t force) {
    Pad(src, length, dst, outLength, force,
        [](uint32_t index, uint32_t) { return static_cast<uint8_t>(index == 0 ? 0x80 : 0x00); });
}

void PaddingWithLength(const uint8_t* src, uint32_t length, uint8_t* dst, uint32_t* outLength,
                       int32_t force) {
    Pad(src, length, dst, outLength, force,
        [](uint32_t, uint32_t padLength) { return static_cast<uint8_t>(padLength); });
}

}  // namespace kx
