#pragma once
// The MIFARE Classic value-block format: value, ~value, value (least significant byte first),
// then the address byte as adr, ~adr, adr, ~adr.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace kx::mifare {

using BlockBytes = std::array<uint8_t, 16>;

struct ValueBlock {
    int32_t value = 0;
    uint8_t address = 0;
};

// Nothing when the copies disagree: the block is not a value block.
std::optional<ValueBlock> DecodeValueBlock(std::span<const uint8_t, 16> block);
BlockBytes EncodeValueBlock(ValueBlock valueBlock);

}  // namespace kx::mifare
