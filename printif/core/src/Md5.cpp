#include "printif/Md5.h"

#include <array>
#include <bit>
#include <cstring>

namespace kx {
namespace {

struct Md5State {
    uint32_t a = 0x67452301;
    uint32_t b = 0xefcdab89;
    uint32_t c = 0x98badcfe;
    uint32_t d = 0x10325476;
};

inline uint32_t LoadLittle32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline void StoreLittle32(uint32_t value, uint8_t* p) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// The four auxiliary functions of RFC 1321, F and G in forms with fewer operations.
inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) {
    return z ^ (x & (y ^ z));
}
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) {
    return y ^ (z & (x ^ y));
}
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) {
    return x ^ y ^ z;
}
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) {
    return y ^ (x | ~z);
}

template <uint32_t (*Function)(uint32_t, uint32_t, uint32_t)>
inline void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word, uint32_t constant,
                 int shift) {
    a = b + std::rotl(a + Function(b, c, d) + word + constant, shift);
}

void Transform(Md5State& state, const uint8_t* block) {
    std::array<uint32_t, 16> x;
    for (size_t i = 0; i < 16; ++i) {
        x[i] = LoadLittle32(block + 4 * i);
    }
    uint32_t a = state.a, b = state.b, c = state.c, d = state.d;

    Step<F>(a, b, c, d, x[0], 0xd76aa478, 7);
    Step<F>(d, a, b, c, x[1], 0xe8c7b756, 12);
    Step<F>(c, d, a, b, x[2], 0x242070db, 17);
    Step<F>(b, c, d, a, x[3], 0xc1bdceee, 22);
    Step<F>(a, b, c, d, x[4], 0xf57c0faf, 7);
    Step<F>(d, a, b, c, x[5], 0x4787c62a, 12);
    Step<F>(c, d, a, b, x[6], 0xa8304613, 17);
    Step<F>(b, c, d, a, x[7], 0xfd469501, 22);
    Step<F>(a, b, c, d, x[8], 0x698098d8, 7);
    Step<F>(d, a, b, c, x[9], 0x8b44f7af, 12);
    Step<F>(c, d, a, b, x[10], 0xffff5bb1, 17);
    Step<F>(b, c, d, a, x[11], 0x895cd7be, 22);
    Step<F>(a, b, c, d, x[12], 0x6b901122, 7);
    Step<F>(d, a, b, c, x[13], 0xfd987193, 12);
    Step<F>(c, d, a, b, x[14], 0xa679438e, 17);
    Step<F>(b, c, d, a, x[15], 0x49b40821, 22);

    Step<G>(a, b, c, d, x[1], 0xf61e2562, 5);
    Step<G>(d, a, b, c, x[6], 0xc040b340, 9);
    Step<G>(c, d, a, b, x[11], 0x265e5a51, 14);
    Step<G>(b, c, d, a, x[0], 0xe9b6c7aa, 20);
    Step<G>(a, b, c, d, x[5], 0xd62f105d, 5);
    Step<G>(d, a, b, c, x[10], 0x02441453, 9);
    Step<G>(c, d, a, b, x[15], 0xd8a1e681, 14);
    Step<G>(b, c, d, a, x[4], 0xe7d3fbc8, 20);
    Step<G>(a, b, c, d, x[9], 0x21e1cde6, 5);
    Step<G>(d, a, b, c, x[14], 0xc33707d6, 9);
    Step<G>(c, d, a, b, x[3], 0xf4d50d87, 14);
    Step<G>(b, c, d, a, x[8], 0x455a14ed, 20);
    Step<G>(a, b, c, d, x[13], 0xa9e3e905, 5);
    Step<G>(d, a, b, c, x[2], 0xfcefa3f8, 9);
    Step<G>(c, d, a, b, x[7], 0x676f02d9, 14);
    Step<G>(b, c, d, a, x[12], 0x8d2a4c8a, 20);

    Step<H>(a, b, c, d, x[5], 0xfffa3942, 4);
    Step<H>(d, a, b, c, x[8], 0x8771f681, 11);
    Step<H>(c, d, a, b, x[11], 0x6d9d6122, 16);
    Step<H>(b, c, d, a, x[14], 0xfde5380c, 23);
    Step<H>(a, b, c, d, x[1], 0xa4beea44, 4);
    Step<H>(d, a, b, c, x[4], 0x4bdecfa9, 11);
    Step<H>(c, d, a, b, x[7], 0xf6bb4b60, 16);
    Step<H>(b, c, d, a, x[10], 0xbebfbc70, 23);
    Step<H>(a, b, c, d, x[13], 0x289b7ec6, 4);
    Step<H>(d, a, b, c, x[0], 0xeaa127fa, 11);
    Step<H>(c, d, a, b, x[3], 0xd4ef3085, 16);
    Step<H>(b, c, d, a, x[6], 0x04881d05, 23);
    Step<H>(a, b, c, d, x[9], 0xd9d4d039, 4);
    Step<H>(d, a, b, c, x[12], 0xe6db99e5, 11);
    Step<H>(c, d, a, b, x[15], 0x1fa27cf8, 16);
    Step<H>(b, c, d, a, x[2], 0xc4ac5665, 23);

    Step<I>(a, b, c, d, x[0], 0xf4292244, 6);
    Step<I>(d, a, b, c, x[7], 0x432aff97, 10);
    Step<I>(c, d, a, b, x[14], 0xab9423a7, 15);
    Step<I>(b, c, d, a, x[5], 0xfc93a039, 21);
    Step<I>(a, b, c, d, x[12], 0x655b59c3, 6);
    Step<I>(d, a, b, c, x[3], 0x8f0ccc92, 10);
    Step<I>(c, d, a, b, x[10], 0xffeff47d, 15);
    Step<I>(b, c, d, a, x[1], 0x85845dd1, 21);
    Step<I>(a, b, c, d, x[8], 0x6fa87e4f, 6);
    Step<I>(d, a, b, c, x[15], 0xfe2ce6e0, 10);
    Step<I>(c, d, a, b, x[6], 0xa3014314, 15);
    Step<I>(b, c, d, a, x[13], 0x4e0811a1, 21);
    Step<I>(a, b, c, d, x[4], 0xf7537e82, 6);
    Step<I>(d, a, b, c, x[11], 0xbd3af235, 10);
    Step<I>(c, d, a, b, x[2], 0x2ad7d2bb, 15);
    Step<I>(b, c, d, a, x[9], 0xeb86d391, 21);

    state.a += a;
    state.b += b;
    state.c += c;
    state.d += d;
}

}  // namespace

void Md5Digest(const uint8_t* data, size_t length, uint8_t* out) {
    Md5State state;
    const size_t whole = length - length % 64;
    for (size_t offset = 0; offset < whole; offset += 64) {
        Transform(state, data + offset);
    }

    // The tail, the 0x80 marker, zeros and the 64-bit bit count fill one or two last blocks.
    std::array<uint8_t, 128> last{};
    const size_t tail = length - whole;
    if (tail != 0) {
        std::memcpy(last.data(), data + whole, tail);
    }
    last[tail] = 0x80;
    const size_t lastLength = tail < 56 ? 64 : 128;
    const uint64_t bits = static_cast<uint64_t>(length) * 8;
    for (size_t i = 0; i < 8; ++i) {
        last[lastLength - 8 + i] = static_cast<uint8_t>(bits >> (8 * i));
    }
    for (size_t offset = 0; offset < lastLength; offset += 64) {
        Transform(state, last.data() + offset);
    }

    StoreLittle32(state.a, out);
    StoreLittle32(state.b, out + 4);
    StoreLittle32(state.c, out + 8);
    StoreLittle32(state.d, out + 12);
}

}  // namespace kx
