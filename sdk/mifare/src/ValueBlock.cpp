#include "mifare/ValueBlock.h"

namespace kx::mifare {

namespace {

uint32_t LittleEndianAt(std::span<const uint8_t, 16> block, std::size_t offset) {
    return uint32_t{block[offset]} | uint32_t{block[offset + 1]} << 8 |
           uint32_t{block[offset + 2]} << 16 | uint32_t{block[offset + 3]} << 24;
}

void PutLittleEndian(BlockBytes& block, std::size_t offset, uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        block[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace

std::optional<ValueBlock> DecodeValueBlock(std::span<const uint8_t, 16> block) {
    const uint32_t value = LittleEndianAt(block, 0);
    const bool valueCopiesAgree =
        LittleEndianAt(block, 4) == ~value && LittleEndianAt(block, 8) == value;
    const uint8_t address = block[12];
    const bool addressCopiesAgree = block[13] == static_cast<uint8_t>(~address) &&
                                    block[14] == address &&
                                    block[15] == static_cast<uint8_t>(~address);
    if (!valueCopiesAgree || !addressCopiesAgree) {
        return std::nullopt;
    }
    return ValueBlock{static_cast<int32_t>(value), address};
}

BlockBytes EncodeValueBlock(ValueBlock valueBlock) {
    BlockBytes block{};
    const auto value = static_cast<uint32_t>(valueBlock.value);
    PutLittleEndian(block, 0, value);
    PutLittleEndian(block, 4, ~value);
    PutLittleEndian(block, 8, value);
    const uint8_t address = valueBlock.address;
    const auto inverted = static_cast<uint8_t>(~address);
    block[12] = address;
    block[13] = inverted;
    block[14] = address;
    block[15] = inverted;
    return block;
}

}  // namespace kx::mifare
