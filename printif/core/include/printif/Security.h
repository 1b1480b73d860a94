#pragma once
// The security functions behind the SEC_ exports: DES, two-key triple DES (single block, ECB,
// CBC), MD5 and the two block paddings. No state outside the call, so safe from several threads;
// a null pointer makes a function do nothing, except that empty input (length 0) may be null.

#include <cstdint>

namespace kx {

// encrypt != 0 encrypts, 0 decrypts. in and out may be the same buffer.
void DesCalc(const uint8_t* in, uint8_t* out, const uint8_t* key, int32_t encrypt);
// key = K1 | K2 (16 bytes), the third key being K1 again. in and out may be the same buffer.
void TripleDesCalc(const uint8_t* in, uint8_t* out, const uint8_t* key, int32_t encrypt);
// Over the length / 8 whole blocks; the tail is neither processed nor copied.
void TripleDesEcbCalc(const uint8_t* in, uint32_t length, uint8_t* out, const uint8_t* key,
                      int32_t encrypt);
// As the ECB form, chained from iv, which is only read. Works in place in both directions.
void TripleDesCbcCalc(const uint8_t* iv, const uint8_t* in, uint32_t length, uint8_t* out,
                      const uint8_t* key, int32_t encrypt);
void Md5Calc(const uint8_t* data, uint32_t length, uint8_t* out);
// Copy src to dst (dst may be src) and pad to a multiple of 8 when unaligned or when force != 0.
void PaddingWith80(const uint8_t* src, uint32_t length, uint8_t* dst, uint32_t* outLength,
                   int32_t force);
void PaddingWithLength(const uint8_t* src, uint32_t length, uint8_t* dst, uint32_t* outLength,
                       int32_t force);

}  // namespace kx
