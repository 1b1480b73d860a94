// The dc_ functions of the PC/SC KXD103 library end to end: the library loaded by file, a private
// pcscd with vpcd's two reader slots, and the virtual card presented, lifted and torn away.

#include <gtest/gtest.h>

#include <array>

#include "Kxd103Library.h"
#include "PcscTest.h"
#include "mifare/ValueBlock.h"
#include "pcscreader/DcStatus.h"

namespace kx::pcsc::testing {
namespace {

constexpr std::array<uint8_t, 6> kTransportKey{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr int16_t kUsb = 100;
constexpr uint32_t kSerial = 0xA1B2C3D4;
constexpr mifare::BlockBytes kBlock4{'m', 'e', 'm', 'b', 'e', 'r', ' ', 'd',
                                     'a', 't', 'a', 0,   1,   2,   3,   4};

CardImage MemberCard() {
    CardImage image = TransportCard(kSerial);
    PutBlock(image, 4, kBlock4);
    PutBlock(image, 12, mifare::EncodeValueBlock({5000, 12}));
    PutBlock(image, 13, mifare::EncodeValueBlock({77, 13}));
    return image;
}

class DcFunctionsTest : public PcscTest {
  protected:
    // Opens the USB reader, selects the card and authenticates the sector with key A.
    ::testing::AssertionResult OpenSector(uint8_t sector, int32_t& handle) {
        handle = dc.init(kUsb, 0);
        uint32_t serial = 0;
        if (handle <= 0 || dc.card(handle, 0, &serial) != kOk ||
            dc.load_key(handle, 0, sector, kTransportKey.data()) != kOk ||
            dc.authentication(handle, 0, sector) != kOk) {
            return ::testing::AssertionFailure() << "sector " << int{sector} << " did not open";
        }
        return ::testing::AssertionSuccess();
    }

    const Kxd103Library& dc = Kxd103();
};

TEST_F(DcFunctionsTest, ReadsTheCardOnTheFirstReaderOverUsb) {
    VpcdCard card(MemberCard());
    ASSERT_TRUE(Present(card));

    const int32_t handle = dc.init(kUsb, 0);
    ASSERT_GT(handle, 0);
    uint32_t serial = 0;
    ASSERT_EQ(dc.card(handle, 0, &serial), kOk);
    EXPECT_EQ(serial, kSerial) << "UID byte 0 is the low byte";
    ASSERT_EQ(dc.load_key(handle, 0, 1, kTransportKey.data()), kOk);
    ASSERT_EQ(dc.authentication(handle, 0, 1), kOk);
    mifare::BlockBytes data{};
    ASSERT_EQ(dc.read(handle, 4, data.data()), kOk);
    EXPECT_EQ(data, kBlock4);
    EXPECT_EQ(dc.read(handle, 8, data.data()), kCardRefused) << "sector 2 is not authenticated";

    EXPECT_EQ(dc.exit(handle), kOk);
    EXPECT_EQ(dc.exit(handle), kBadHandle);
    EXPECT_EQ(dc.card(handle, 0, &serial), kBadHandle);
}

TEST_F(DcFunctionsTest, SerialPortNumbersCountReadersFromZero) {
    VpcdCard card(MemberCard());
    ASSERT_TRUE(Present(card, 1));

    struct Case {
        int16_t port;
        DcStatus selection;
    };
    for (const Case& c : {Case{1, kOk}, Case{kUsb, kNoCard}, Case{0, kNoCard}}) {
        SCOPED_TRACE(c.port);
        const int32_t handle = dc.init(c.port, 9600);
        ASSERT_GT(handle, 0);
        uint32_t serial = 7;
        EXPECT_EQ(dc.card(handle, 0, &serial), c.selection);
        EXPECT_EQ(serial, c.selection == kOk ? kSerial : 7u);
        EXPECT_EQ(dc.exit(handle), kOk);
    }
    for (const int16_t missing : {int16_t{2}, int16_t{99}, int16_t{101}, int16_t{-1}}) {
        EXPECT_LT(dc.init(missing, 9600), 0) << "port " << missing;
    }
}

class DcValueTest : public DcFunctionsTest, public ::testing::WithParamInterface<ReaderTraits> {};

TEST_P(DcValueTest, DebitsCreditsHaltsAndBeeps) {
    const ReaderTraits reader = GetParam();
    VpcdCard card(MemberCard(), reader);
    ASSERT_TRUE(Present(card));
    int32_t handle = 0;
    ASSERT_TRUE(OpenSector(3, handle));

    uint32_t value = 0;
    ASSERT_EQ(dc.readval(handle, 12, &value), kOk);
    EXPECT_EQ(value, 5000u);
    ASSERT_EQ(dc.decrement(handle, 12, 1250), kOk);
    EXPECT_EQ(ValueInBlock(card.Image(), 12), 3750);
    ASSERT_EQ(dc.increment(handle, 12, 100), kOk);
    ASSERT_EQ(dc.readval(handle, 12, &value), kOk);
    EXPECT_EQ(value, 3850u);
    EXPECT_EQ(ValueInBlock(card.Image(), 13), 77);
    EXPECT_NE(dc.decrement(handle, 4, 1), kOk) << "block 4 is no value block";

    const int16_t beepResult = reader.buzzer ? kOk : kCardRefused;
    EXPECT_EQ(dc.beep(handle, 30), beepResult);
    ASSERT_EQ(dc.halt(handle), kOk);
    EXPECT_EQ(dc.readval(handle, 12, &value), kNoCard) << "a halted card needs selecting again";
    // The success beep follows the halt.
    EXPECT_EQ(dc.beep(handle, 30), beepResult);
    EXPECT_EQ(card.Beeps(), reader.buzzer ? 2 : 0);
    EXPECT_EQ(dc.exit(handle), kOk);
}

INSTANTIATE_TEST_SUITE_P(Readers, DcValueTest,
                         ::testing::Values(ReaderTraits{.valueCommands = true, .buzzer = true},
                                           ReaderTraits{.valueCommands = false, .buzzer = false}),
                         [](const auto& info) {
                             return info.param.valueCommands ? "Acs" : "PlainStorageCard";
                         });

TEST_F(DcFunctionsTest, NoCardFailsSelectionAndLeavesTheSerial) {
    const int32_t handle = dc.init(kUsb, 0);
    ASSERT_GT(handle, 0);
    uint32_t serial = 7;
    EXPECT_EQ(dc.card(handle, 0, &serial), kNoCard);
    EXPECT_EQ(serial, 7u);
    mifare::BlockBytes data{};
    EXPECT_EQ(dc.read(handle, 4, data.data()), kNoCard);
    dc.beep(handle, 30);  // no card to carry it: the escape channel, which vpcd lacks
    EXPECT_EQ(dc.exit(handle), kOk);
}

TEST_F(DcFunctionsTest, ACardLiftedOffFailsEveryLaterCall) {
    VpcdCard card(MemberCard());
    ASSERT_TRUE(Present(card));
    int32_t handle = 0;
    ASSERT_TRUE(OpenSector(3, handle));
    const CardImage before = card.Image();

    card.TakeAway();
    ASSERT_TRUE(WaitUntilEmpty());
    uint32_t value = 0;
    EXPECT_EQ(dc.readval(handle, 12, &value), kCardLost);
    EXPECT_EQ(dc.decrement(handle, 12, 1250), kCardLost);
    uint32_t serial = 0;
    EXPECT_EQ(dc.card(handle, 0, &serial), kNoCard);
    EXPECT_EQ(card.Image(), before);
    EXPECT_EQ(dc.exit(handle), kOk);
}

TEST_F(DcFunctionsTest, AReaderThatGoesAwayFailsEveryCall) {
    VpcdCard card(MemberCard());
    ASSERT_TRUE(Present(card));
    int32_t handle = 0;
    ASSERT_TRUE(OpenSector(1, handle));

    StopDaemon();
    mifare::BlockBytes data{};
    EXPECT_NE(dc.load_key(handle, 0, 1, kTransportKey.data()), kOk);
    EXPECT_NE(dc.read(handle, 4, data.data()), kOk);
    uint32_t serial = 0;
    EXPECT_NE(dc.card(handle, 0, &serial), kOk);
    EXPECT_LT(dc.init(kUsb, 0), 0);
    EXPECT_EQ(dc.exit(handle), kOk);
    ASSERT_TRUE(RestartDaemon());
}

TEST_F(DcFunctionsTest, RefusesMissingBuffersAndUnknownHandles) {
    VpcdCard card(MemberCard());
    ASSERT_TRUE(Present(card));
    const int32_t handle = dc.init(kUsb, 0);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(dc.card(handle, 0, nullptr), kBadArgument);
    EXPECT_EQ(dc.load_key(handle, 0, 3, nullptr), kBadArgument);
    EXPECT_EQ(dc.read(handle, 4, nullptr), kBadArgument);
    EXPECT_EQ(dc.readval(handle, 12, nullptr), kBadArgument);
    EXPECT_EQ(dc.load_key(handle, 2, 3, kTransportKey.data()), kBadArgument) << "no key mode 2";
    EXPECT_EQ(dc.exit(handle), kOk);

    const int32_t unknown = handle + 1000;
    uint32_t serial = 0;
    mifare::BlockBytes data{};
    EXPECT_EQ(dc.card(unknown, 0, &serial), kBadHandle);
    EXPECT_EQ(dc.load_key(unknown, 0, 3, kTransportKey.data()), kBadHandle);
    EXPECT_EQ(dc.authentication(unknown, 0, 3), kBadHandle);
    EXPECT_EQ(dc.read(unknown, 4, data.data()), kBadHandle);
    EXPECT_EQ(dc.decrement(unknown, 12, 1), kBadHandle);
    EXPECT_EQ(dc.increment(unknown, 12, 1), kBadHandle);
    EXPECT_EQ(dc.beep(unknown, 30), kBadHandle);
    EXPECT_EQ(dc.halt(unknown), kBadHandle);
}

}  // namespace
}  // namespace kx::pcsc::testing
