#include "mifare/ValueBlock.h"

#include <gtest/gtest.h>

namespace kx::mifare {
namespace {

struct Example {
    int32_t value;
    uint8_t address;
    BlockBytes block;
};

// The datasheet's examples, and negative balances as a card holds them after an overdraft.
const Example kExamples[] = {
    {1234567,
     17,
     {0x87, 0xD6, 0x12, 0x00, 0x78, 0x29, 0xED, 0xFF, 0x87, 0xD6, 0x12, 0x00, 0x11, 0xEE, 0x11,
      0xEE}},
    {100,
     0,
     {0x64, 0x00, 0x00, 0x00, 0x9B, 0xFF, 0xFF, 0xFF, 0x64, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00,
      0xFF}},
    {-5,
     12,
     {0xFB, 0xFF, 0xFF, 0xFF, 0x04, 0x00, 0x00, 0x00, 0xFB, 0xFF, 0xFF, 0xFF, 0x0C, 0xF3, 0x0C,
      0xF3}},
    {-1,
     12,
     {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x0C, 0xF3, 0x0C,
      0xF3}},
};

TEST(ValueBlockTest, EncodesAndDecodesTheCardFormat) {
    for (const Example& example : kExamples) {
        SCOPED_TRACE(example.value);
        EXPECT_EQ(EncodeValueBlock({example.value, example.address}), example.block);
        const std::optional<ValueBlock> decoded = DecodeValueBlock(example.block);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->value, example.value);
        EXPECT_EQ(decoded->address, example.address);
    }
}

TEST(ValueBlockTest, RefusesABlockWhoseCopiesDisagree) {
    // One changed byte in each copy: the value, the inverted value, the second value (first and
    // last byte of each), each address copy.
    for (const std::size_t byte : {0u, 3u, 4u, 5u, 7u, 8u, 11u, 12u, 13u, 14u, 15u}) {
        SCOPED_TRACE(byte);
        BlockBytes block = kExamples[0].block;
        block[byte] ^= 0x01;
        EXPECT_FALSE(DecodeValueBlock(block));
    }
    EXPECT_FALSE(DecodeValueBlock(BlockBytes{}));
}

}  // namespace
}  // namespace kx::mifare
