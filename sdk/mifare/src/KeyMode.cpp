#include "mifare/KeyMode.h"

namespace kx::mifare {

std::optional<KeyType> KeyTypeOfDcMode(uint8_t mode) {
    switch (mode) {
        case 0:
            return KeyType::A;
        case 1:
            return KeyType::B;
        default:
            return std::nullopt;
    }
}

std::optional<KeyType> KeyTypeOfRfMode(uint8_t mode) {
    // Mode 0 wraps to 255, which names no key.
    return KeyTypeOfDcMode(static_cast<uint8_t>(mode - 1));
}

}  // namespace kx::mifare
