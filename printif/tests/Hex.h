#pragma once
// Hexadecimal text to bytes and back, for readable vectors.

#include <cstdint>
#include <string>
#include <vector>

namespace kx::test {

// Spaces are ignored: "0123 4567" is four bytes.
std::vector<uint8_t> FromHex(const std::string& hex);
std::string ToHex(const uint8_t* bytes, size_t length);
inline std::string ToHex(const std::vector<uint8_t>& bytes) {
    return ToHex(bytes.data(), bytes.size());
}

}  // namespace kx::test
