#include "Hex.h"

#include <stdexcept>

namespace kx::test {

std::vector<uint8_t> FromHex(const std::string& hex) {
    std::string digits;
    for (char c : hex) {
        if (c != ' ') {
            digits += c;
        }
    }
    if (digits.size() % 2 != 0) {
        throw std::invalid_argument("odd number of hex digits: " + hex);
    }
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::string ToHex(const uint8_t* bytes, size_t length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (size_t i = 0; i < length; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 15];
    }
    return hex;
}

}  // namespace kx::test
