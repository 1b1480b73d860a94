// The MIFARE work of the library against a virtual card in memory, for a reader with the ACS value
// commands and for one without them.

#include "pcscreader/MifareSession.h"

#include <gtest/gtest.h>

#include "VirtualMifareCard.h"

namespace kx::pcsc {
namespace {

using testing::BlockOf;
using testing::CardImage;
using testing::PutBlock;
using testing::PutKeyA;
using testing::ReaderTraits;
using testing::TransportCard;
using testing::ValueInBlock;
using testing::VirtualMifareCard;

constexpr Key kTransportKey{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr Key kShopKey{0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
constexpr uint8_t kModeA = 0;
constexpr uint8_t kModeB = 1;

// Hands the session's commands straight to the virtual card and counts them by instruction.
class DirectChannel : public CardChannel {
  public:
    explicit DirectChannel(VirtualMifareCard& card) : card_(card) {}
    DcStatus Transmit(std::span<const uint8_t> command, Answer& answer) override {
        ++sent_[command[1]];
        return ParseResponse(card_.Answer(command), answer) ? kOk : kBadAnswer;
    }
    int Sent(Instruction instruction) const { return sent_[instruction]; }

  private:
    VirtualMifareCard& card_;
    std::array<int, 256> sent_{};
};

CardImage MemberCard() {
    CardImage image = TransportCard(0x12345678);
    PutBlock(image, 12, mifare::EncodeValueBlock({5000, 12}));
    PutBlock(image, 13, mifare::EncodeValueBlock({77, 13}));
    BlockBytes text{};
    text.fill('A');
    PutBlock(image, 14, text);
    return image;
}

class MifareSessionTest : public ::testing::TestWithParam<ReaderTraits> {
  protected:
    MifareSessionTest() : card_(MemberCard(), GetParam()), channel_(card_), session_(channel_) {}

    void OpenSector3() {
        ASSERT_EQ(session_.LoadKey(kModeA, 3, kTransportKey), kOk);
        ASSERT_EQ(session_.Authenticate(kModeA, 3), kOk);
    }
    std::optional<int32_t> ValueOnCard(int block) const {
        return ValueInBlock(card_.Image(), block);
    }

    VirtualMifareCard card_;
    DirectChannel channel_;
    MifareSession session_;
};

TEST_P(MifareSessionTest, ReportsTheUidAsALittleEndianSerial) {
    uint32_t serial = 0;
    ASSERT_EQ(session_.ReadSerial(serial), kOk);
    EXPECT_EQ(serial, 0x12345678u);
}

TEST_P(MifareSessionTest, DebitsAndCreditsOnlyTheValueBlock) {
    OpenSector3();
    uint32_t value = 0;
    ASSERT_EQ(session_.ReadValue(12, value), kOk);
    EXPECT_EQ(value, 5000u);

    ASSERT_EQ(session_.Decrement(12, 1250), kOk);
    EXPECT_EQ(ValueOnCard(12), 3750);
    ASSERT_EQ(session_.Increment(12, 10000), kOk);
    EXPECT_EQ(ValueOnCard(12), 13750);
    ASSERT_EQ(session_.ReadValue(12, value), kOk);
    EXPECT_EQ(value, 13750u);

    EXPECT_EQ(mifare::DecodeValueBlock(BlockOf(card_.Image(), 12))->address, 12)
        << "address byte kept";
    EXPECT_EQ(ValueOnCard(13), 77);
}

TEST_P(MifareSessionTest, DebitPastZeroGoesNegativeAsOnTheCard) {
    OpenSector3();
    ASSERT_EQ(session_.Decrement(12, 5001), kOk);
    EXPECT_EQ(ValueOnCard(12), -1);
    uint32_t value = 0;
    ASSERT_EQ(session_.ReadValue(12, value), kOk);
    EXPECT_EQ(value, 0xFFFFFFFFu);
}

TEST_P(MifareSessionTest, RefusesValueWorkOnADataBlockAndLeavesItAlone) {
    OpenSector3();
    const CardImage before = card_.Image();
    uint32_t value = 99;
    EXPECT_NE(session_.ReadValue(14, value), kOk);
    EXPECT_EQ(value, 99u);
    EXPECT_NE(session_.Decrement(14, 1), kOk);
    EXPECT_NE(session_.Increment(14, 1), kOk);
    EXPECT_EQ(card_.Image(), before);
}

TEST_P(MifareSessionTest, RefusesBlocksOutsideTheAuthenticatedSector) {
    OpenSector3();
    BlockBytes data{};
    EXPECT_EQ(session_.Read(4, data), kCardRefused);
    EXPECT_EQ(session_.Decrement(16, 1), kCardRefused);
}

INSTANTIATE_TEST_SUITE_P(Readers, MifareSessionTest,
                         ::testing::Values(ReaderTraits{.valueCommands = true},
                                           ReaderTraits{.valueCommands = false}),
                         [](const auto& info) {
                             return info.param.valueCommands ? "AcsValueCommands" : "ReadAndWrite";
                         });

TEST(MifareSessionKeys, EachSectorAuthenticatesWithTheKeyLoadedForIt) {
    CardImage image = TransportCard(1);
    PutKeyA(image, 3, kShopKey);
    VirtualMifareCard card(image);
    DirectChannel channel(card);
    MifareSession session(channel);

    // Both keys loaded first, as a transaction might: the reader slot then holds sector 3's.
    ASSERT_EQ(session.LoadKey(kModeA, 0, kTransportKey), kOk);
    ASSERT_EQ(session.LoadKey(kModeA, 3, kShopKey), kOk);
    EXPECT_EQ(session.Authenticate(kModeA, 0), kOk);
    EXPECT_EQ(session.Authenticate(kModeA, 3), kOk);
    EXPECT_EQ(session.Authenticate(kModeA, 2), kNoKey);

    ASSERT_EQ(session.LoadKey(kModeA, 2, kShopKey), kOk);
    EXPECT_EQ(session.Authenticate(kModeA, 2), kCardRefused) << "sector 2 has the transport key";
}

TEST(MifareSessionKeys, ModeOneIsKeyB) {
    CardImage image = TransportCard(1);
    PutKeyA(image, 3, kShopKey);  // key B stays the transport key
    VirtualMifareCard card(image);
    DirectChannel channel(card);
    MifareSession session(channel);

    ASSERT_EQ(session.LoadKey(kModeB, 3, kTransportKey), kOk);
    EXPECT_EQ(session.Authenticate(kModeB, 3), kOk);
    ASSERT_EQ(session.LoadKey(kModeA, 3, kTransportKey), kOk);
    EXPECT_EQ(session.Authenticate(kModeA, 3), kCardRefused);
}

TEST(MifareSessionKeys, RefusesModesAndSectorsOutOfRange) {
    VirtualMifareCard card(TransportCard(1));
    DirectChannel channel(card);
    MifareSession session(channel);
    EXPECT_EQ(session.LoadKey(2, 0, kTransportKey), kBadArgument);
    EXPECT_EQ(session.LoadKey(kModeA, 40, kTransportKey), kBadArgument);
    EXPECT_EQ(session.Authenticate(4, 0), kBadArgument);
    EXPECT_EQ(channel.Sent(kInsLoadKey) + channel.Sent(kInsAuthenticate), 0);
}

TEST(MifareSessionValueCommands, AReaderWithoutThemIsAskedOnlyOnce) {
    CardImage image = TransportCard(1);
    PutBlock(image, 12, mifare::EncodeValueBlock({500, 12}));
    VirtualMifareCard card(image, ReaderTraits{.valueCommands = false});
    DirectChannel channel(card);
    MifareSession session(channel);
    ASSERT_EQ(session.LoadKey(kModeA, 3, kTransportKey), kOk);
    ASSERT_EQ(session.Authenticate(kModeA, 3), kOk);

    ASSERT_EQ(session.Decrement(12, 100), kOk);
    ASSERT_EQ(session.Increment(12, 10), kOk);
    uint32_t value = 0;
    ASSERT_EQ(session.ReadValue(12, value), kOk);
    EXPECT_EQ(value, 410u);
    EXPECT_EQ(channel.Sent(kInsValueOperation) + channel.Sent(kInsReadValue), 1);
    EXPECT_EQ(channel.Sent(kInsUpdateBinary), 2) << "one block write per change";
}

}  // namespace
}  // namespace kx::pcsc
