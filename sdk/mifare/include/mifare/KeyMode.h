#pragma once
// Which key of a sector a caller's key mode names. dc_ functions take 0 = key A, 1 = key B; rf_
// functions take 1 = key A, 2 = key B (the driver passes its key mode plus one to rf_ functions,
// so the same caller's mode picks the same key).

#include <cstdint>
#include <optional>

namespace kx::mifare {

enum class KeyType { A, B };

// Nothing for a mode that names no key.
std::optional<KeyType> KeyTypeOfDcMode(uint8_t mode);
std::optional<KeyType> KeyTypeOfRfMode(uint8_t mode);

}  // namespace kx::mifare
