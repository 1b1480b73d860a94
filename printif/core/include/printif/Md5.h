#pragma once
// MD5 (RFC 1321) in one call; the context lives in the caller's frame.

#include <cstddef>
#include <cstdint>

namespace kx {

// out (16 bytes) = the MD5 digest of the length bytes of data.
void Md5Digest(const uint8_t* data, size_t length, uint8_t* out);

}  // namespace kx
