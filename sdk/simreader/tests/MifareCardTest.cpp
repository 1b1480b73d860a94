#include "simreader/MifareCard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "mifare/ValueBlock.h"

namespace kx::sim {
namespace {

constexpr Key kTransportKey{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr Key kKeyB{0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5};

// A card in transport configuration, with value blocks in sector 3.
class MifareCardTest : public ::testing::Test {
  protected:
    MifareCardTest() {
        for (int sector = 0; sector < kSectorCount; ++sector) {
            SetTrailer(sector, {0, 0, 0, 0b001});
        }
        PutBlock(12, mifare::EncodeValueBlock({1000, 12}));
        PutBlock(13, mifare::EncodeValueBlock({50, 13}));
        bytes_[8 * kBlockSize] = 0x42;  // plain data in block 8
    }

    void PutBlock(int block, const Block& data) {
        std::copy(data.begin(), data.end(), bytes_.begin() + block * kBlockSize);
    }

    // Key A transport, key B kKeyB, access conditions per block (0bC1C2C3, trailer last).
    void SetTrailer(int sector, const std::array<uint8_t, 4>& conditions) {
        Block trailer{};
        std::copy(kTransportKey.begin(), kTransportKey.end(), trailer.begin());
        const auto access = EncodeAccessBytes(conditions);
        std::copy(access.begin(), access.end(), trailer.begin() + 6);
        trailer[9] = 0x69;
        std::copy(kKeyB.begin(), kKeyB.end(), trailer.begin() + 10);
        PutBlock(TrailerOfSector(sector), trailer);
    }

    MifareCard Card() const { return MifareCard(bytes_); }

    int32_t ValueIn(const MifareCard& card, int block) const {
        const auto bytes = card.Bytes();
        return mifare::DecodeValueBlock(std::span<const uint8_t, kBlockSize>(
                                            bytes.data() + block * kBlockSize, kBlockSize))
            ->value;
    }

    CardBytes bytes_{};
};

TEST(AccessBits, TransportConfigurationIsFF0780) {
    EXPECT_EQ(EncodeAccessBytes({0, 0, 0, 0b001}), (std::array<uint8_t, 3>{0xFF, 0x07, 0x80}));
}

TEST(AccessBits, EveryConditionDecodesAsEncoded) {
    for (uint8_t condition = 0; condition < 8; ++condition) {
        CardBytes bytes{};
        const auto encoded = EncodeAccessBytes({condition, 0b010, 0b111, 0b001});
        std::copy(encoded.begin(), encoded.end(), bytes.begin() + 3 * kBlockSize + 6);
        EXPECT_EQ(AccessConditionOf(bytes, 0), condition);
        EXPECT_EQ(AccessConditionOf(bytes, 1), 0b010);
        EXPECT_EQ(AccessConditionOf(bytes, 2), 0b111);
        EXPECT_EQ(AccessConditionOf(bytes, 3), 0b001);
    }
}

TEST_F(MifareCardTest, BrokenAccessBytesMakeTheSectorUnusable) {
    bytes_[TrailerOfSector(3) * kBlockSize + 7] = 0x08;  // C1 of block 3 set, inverse not cleared
    EXPECT_FALSE(AccessConditionOf(bytes_, 12));
    MifareCard card = Card();
    EXPECT_EQ(card.Authenticate(KeyType::A, 3, kTransportKey), kAuthFailed);
}

TEST_F(MifareCardTest, AuthenticatesAgainstTheTrailerKeys) {
    MifareCard card = Card();
    EXPECT_EQ(card.Authenticate(KeyType::A, 3, kKeyB), kAuthFailed);
    EXPECT_EQ(card.Authenticate(KeyType::B, 3, kTransportKey), kAuthFailed);
    EXPECT_EQ(card.Authenticate(KeyType::A, 16, kTransportKey), kBadArgument);
    EXPECT_EQ(card.Authenticate(KeyType::A, 3, kTransportKey), kOk);
    EXPECT_EQ(card.Authenticate(KeyType::B, 3, kKeyB), kOk);
}

TEST_F(MifareCardTest, ReadsOnlyTheAuthenticatedSector) {
    MifareCard card = Card();
    Block data{};
    EXPECT_EQ(card.Read(8, data), kNotAuthenticated);
    ASSERT_EQ(card.Authenticate(KeyType::A, 2, kTransportKey), kOk);
    EXPECT_EQ(card.Read(8, data), kOk);
    EXPECT_EQ(data[0], 0x42);
    EXPECT_EQ(card.Read(12, data), kNotAuthenticated);
    EXPECT_EQ(card.Read(64, data), kBadArgument);

    // A failed authentication closes the sector that was open.
    EXPECT_EQ(card.Authenticate(KeyType::A, 2, kKeyB), kAuthFailed);
    EXPECT_EQ(card.Read(8, data), kNotAuthenticated);
}

TEST_F(MifareCardTest, TrailerReadHidesKeyAAndWhatTheKeyMayNotSee) {
    MifareCard card = Card();
    ASSERT_EQ(card.Authenticate(KeyType::A, 0, kTransportKey), kOk);
    Block trailer{};
    ASSERT_EQ(card.Read(3, trailer), kOk);
    const Block expected{0,    0,    0,    0,    0,    0,    0xFF, 0x07,
                         0x80, 0x69, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5};
    EXPECT_EQ(trailer, expected);

    SetTrailer(1, {0, 0, 0, 0b011});  // key B secret: A reads the access bits only
    card.ReplaceBytes(bytes_);
    ASSERT_EQ(card.Authenticate(KeyType::A, 1, kTransportKey), kOk);
    ASSERT_EQ(card.Read(7, trailer), kOk);
    EXPECT_EQ(trailer, (Block{0, 0, 0, 0, 0, 0, 0x7F, 0x07, 0x88, 0x69}));
}

TEST_F(MifareCardTest, KeyBThatCanBeReadGrantsNothing) {
    MifareCard card = Card();  // transport trailer: key B is readable data
    ASSERT_EQ(card.Authenticate(KeyType::B, 3, kKeyB), kOk);
    int32_t value = 0;
    EXPECT_EQ(card.ReadValue(12, value), kAccessDenied);
    EXPECT_EQ(card.Decrement(12, 1), kAccessDenied);
}

TEST_F(MifareCardTest, ValueOperationsFollowTheAccessConditions) {
    struct Case {
        const char* what;
        uint8_t condition;
        KeyType key;
        SimStatus decrement;
        SimStatus increment;
    };
    const Case cases[] = {
        {"transport, key A", 0b000, KeyType::A, kOk, kOk},
        {"decrement only", 0b001, KeyType::A, kOk, kAccessDenied},
        {"read only", 0b010, KeyType::A, kAccessDenied, kAccessDenied},
        {"recharge needs key B: A", 0b110, KeyType::A, kOk, kAccessDenied},
        {"recharge needs key B: B", 0b110, KeyType::B, kOk, kOk},
        {"never", 0b111, KeyType::A, kAccessDenied, kAccessDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetTrailer(3, {c.condition, c.condition, c.condition, 0b011});  // key B secret
        MifareCard card = Card();
        ASSERT_EQ(card.Authenticate(c.key, 3, c.key == KeyType::A ? kTransportKey : kKeyB), kOk);
        EXPECT_EQ(card.Decrement(12, 10), c.decrement);
        EXPECT_EQ(ValueIn(card, 12), c.decrement == kOk ? 990 : 1000);
        EXPECT_EQ(card.Increment(13, 5), c.increment);
        EXPECT_EQ(ValueIn(card, 13), c.increment == kOk ? 55 : 50);
    }
}

TEST_F(MifareCardTest, ValuesWrapAsSigned32BitAndKeepTheirAddress) {
    PutBlock(12, mifare::EncodeValueBlock({5, 12}));
    PutBlock(13, mifare::EncodeValueBlock({std::numeric_limits<int32_t>::max(), 13}));
    MifareCard card = Card();
    ASSERT_EQ(card.Authenticate(KeyType::A, 3, kTransportKey), kOk);

    ASSERT_EQ(card.Decrement(12, 6), kOk);  // no stop at zero
    int32_t value = 0;
    ASSERT_EQ(card.ReadValue(12, value), kOk);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(card.Bytes()[12 * kBlockSize + 12], 12);

    ASSERT_EQ(card.Increment(13, 1), kOk);
    EXPECT_EQ(ValueIn(card, 13), std::numeric_limits<int32_t>::min());

    ASSERT_EQ(card.Decrement(12, 0xFFFFFFFFu), kOk);  // an amount beyond 2^31 wraps too
    EXPECT_EQ(ValueIn(card, 12), 0);
}

TEST_F(MifareCardTest, ValueOperationsNeedValueFormat) {
    MifareCard card = Card();
    ASSERT_EQ(card.Authenticate(KeyType::A, 3, kTransportKey), kOk);
    int32_t value = 0;
    EXPECT_EQ(card.ReadValue(14, value), kNotValueBlock);  // all zero
    EXPECT_EQ(card.Decrement(14, 1), kNotValueBlock);
    EXPECT_EQ(card.Increment(14, 1), kNotValueBlock);
    EXPECT_EQ(card.ReadValue(15, value), kNotValueBlock);  // the trailer
    EXPECT_EQ(card.Increment(15, 1), kAccessDenied);

    // Block 0 carries the UID: never changed, whatever its access bits say.
    PutBlock(0, mifare::EncodeValueBlock({7, 0}));
    card.ReplaceBytes(bytes_);
    ASSERT_EQ(card.Authenticate(KeyType::A, 0, kTransportKey), kOk);
    EXPECT_EQ(card.ReadValue(0, value), kOk);
    EXPECT_EQ(card.Decrement(0, 1), kAccessDenied);
}

TEST_F(MifareCardTest, SerialIsTheUidLittleEndian) {
    PutBlock(0, Block{0x4D, 0x3C, 0x2B, 0x1A});
    EXPECT_EQ(Card().Serial(), 0x1A2B3C4Du);
}

}  // namespace
}  // namespace kx::sim
