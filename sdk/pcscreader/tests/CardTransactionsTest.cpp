// The card layer's transactions through its real binding, with the PC/SC KXD103 in the LibaryDir
// of an installation, against a member card (issued by kxcard) on the private pcscd's reader.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "PcscTest.h"
#include "card/CardDump.h"
#include "card/CardTransactions.h"
#include "card/MemberCard.h"
#include "card/SdkBinding.h"

namespace kx::pcsc::testing {
namespace {

namespace fs = std::filesystem;

// Inside the test's private /run, so it goes with the test's namespaces.
const fs::path kInstallation = "/run/kx-installation";
constexpr const char* kModel = "KXD103";
constexpr int kUsb = 0;
constexpr int kCom2 = 2;
constexpr uint32_t kSerial = 0xA1B2C3D4;
constexpr uint32_t kBalance = 5000;
constexpr uint32_t kPoints = 77;

// The simulated models beside the PC/SC KXD103, as an operator would install a real reader.
void Install() {
    const fs::path libraries = kInstallation / "LibaryDir";
    fs::create_directories(libraries);
    for (const char* library :
         {KX_SIM_KXD100, KX_SIM_KXD101, KX_SIM_KXD102, KX_PCSC_KXD103_FILE, KX_SIM_KXD104}) {
        fs::copy_file(library, libraries / fs::path(library).filename(),
                      fs::copy_options::overwrite_existing);
    }
    BindReaderSdk(kInstallation, kPayTerminalOps | kIncTerminalOps);
}

CardImage IssuedMemberCard() {
    const fs::path dump = kInstallation / "member.mfd";
    const std::string command = std::string(KX_KXCARD) + " issue " + dump.string() +
                                " --name 'ZHANG SAN' --balance 50.00 --points 77 --serial A1B2C3D4";
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("kxcard issue failed: " + command);
    }
    CardImage image{};
    std::ifstream(dump, std::ios::binary)
        .read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return image;
}

class CardTransactionsTest : public PcscTest {
  protected:
    static void SetUpTestSuite() {
        PcscTest::SetUpTestSuite();
        // Once per process: the bound libraries must not be rewritten under the binding.
        if (DaemonRunning() && !fs::exists(kInstallation)) {
            try {
                Install();
                memberCard_ = IssuedMemberCard();
            } catch (const std::exception& error) {
                installFailure_ = error.what();
            }
        }
    }
    void SetUp() override {
        PcscTest::SetUp();
        ASSERT_EQ(installFailure_, "");
    }

    static inline std::string installFailure_;
    static inline CardImage memberCard_{};
};

TEST_F(CardTransactionsTest, ReadsTheMemberOverUsbAndCom2) {
    struct Case {
        int port;
        int slot;
    };
    for (const Case c : {Case{kUsb, 0}, Case{kCom2, 1}}) {
        SCOPED_TRACE(c.port);
        VpcdCard card(memberCard_);
        ASSERT_TRUE(Present(card, c.slot));
        TMemberCardImage image;
        ASSERT_EQ(ReadMemberCard(c.port, kModel, image), 0);

        CardDump dump{};
        std::copy(memberCard_.begin(), memberCard_.end(), dump.begin());
        const TMemberCardImage expected = MemberCardImageFromDump(dump);
        EXPECT_EQ(image.Serial, kSerial);
        EXPECT_EQ(image.Sector0, expected.Sector0);
        EXPECT_EQ(image.Sector2, expected.Sector2);
        EXPECT_EQ(image.Sector4, expected.Sector4);
        EXPECT_EQ(image.Values, expected.Values);
        TMemberRecord record;
        EXPECT_EQ(DecodeMemberCard(image, kExpectedSchemeCode, record), TCardCheck::ccOk);
        EXPECT_EQ(record.MemberName, "ZHANG SAN");
        EXPECT_EQ(record.StoreMoney, kBalance);
        EXPECT_EQ(record.MemberPoints, kPoints);
        EXPECT_EQ(card.Beeps(), 1);
    }
}

TEST_F(CardTransactionsTest, NoCardOnTheReaderFailsEveryTransaction) {
    // The card lies on the other reader: USB is the first one.
    VpcdCard card(memberCard_);
    ASSERT_TRUE(Present(card, 1));
    TMemberCardImage image;
    uint32_t serial = 0;
    EXPECT_EQ(ReadMemberCard(kUsb, kModel, image), -1);
    EXPECT_EQ(DecMemberCard(kUsb, kModel, 1250, serial), -1);
    EXPECT_EQ(IncMemberCard(kUsb, kModel, 1250, serial), -1);
    EXPECT_EQ(card.Image(), memberCard_);
}

class ValueTransactionsTest : public CardTransactionsTest,
                              public ::testing::WithParamInterface<ReaderTraits> {};

TEST_P(ValueTransactionsTest, DebitsAndCreditsTheBalanceOnly) {
    VpcdCard card(memberCard_, GetParam());
    ASSERT_TRUE(Present(card));
    uint32_t serial = 0;
    ASSERT_EQ(DecMemberCard(kUsb, kModel, 1250, serial), 0);
    EXPECT_EQ(serial, kSerial);
    EXPECT_EQ(ValueInBlock(card.Image(), 12), 3750);
    ASSERT_EQ(IncMemberCard(kUsb, kModel, 10000, serial), 0);
    EXPECT_EQ(ValueInBlock(card.Image(), 12), 13750);
    EXPECT_EQ(ValueInBlock(card.Image(), 13), static_cast<int32_t>(kPoints));

    CardImage unchangedElsewhere = card.Image();
    std::copy_n(memberCard_.begin() + 12 * 16, 16, unchangedElsewhere.begin() + 12 * 16);
    EXPECT_EQ(unchangedElsewhere, memberCard_) << "only block 12 changes";
    EXPECT_EQ(card.Beeps(), GetParam().buzzer ? 2 : 0) << "one beep per good transaction";
}

// The card leaves at every command of a debit in turn, before the card carried it out and after:
// the balance is debited once or not at all, and a debit reported done was done.
TEST_P(ValueTransactionsTest, ACardTornAwayMidDebitIsDebitedOnceOrNotAtAll) {
    for (const Tear when : {Tear::BeforeCommand, Tear::AfterCommand}) {
        VpcdCard card(memberCard_, GetParam());
        int debited = 0;
        int untouched = 0;
        for (int command = 0;; ++command) {
            SCOPED_TRACE(::testing::Message()
                         << "card leaves at command " << command
                         << (when == Tear::BeforeCommand ? " before" : " after") << " it runs");
            ASSERT_TRUE(Present(card));
            const std::optional<int32_t> balance = ValueInBlock(card.Image(), 12);
            ASSERT_TRUE(balance);
            const int32_t before = *balance;
            card.TearAt(command, when);
            uint32_t serial = 0;
            const int result = DecMemberCard(kUsb, kModel, 1250, serial);
            const std::optional<int32_t> changed = ValueInBlock(card.Image(), 12);
            ASSERT_TRUE(changed) << "the value block was corrupted";
            const int32_t after = *changed;
            if (!card.Torn()) {
                // The debit needs fewer commands than this: every step was covered.
                EXPECT_EQ(result, 0);
                EXPECT_EQ(after, before - 1250);
                break;
            }
            EXPECT_TRUE(after == before || after == before - 1250) << before << " -> " << after;
            if (result == 0) {
                EXPECT_EQ(after, before - 1250) << "reported done but not debited";
            }
            (after == before ? untouched : debited)++;
            EXPECT_EQ(ValueInBlock(card.Image(), 13), static_cast<int32_t>(kPoints));
            card.TakeAway();
        }
        EXPECT_GT(untouched, 0);
        EXPECT_GT(debited, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, ValueTransactionsTest,
                         ::testing::Values(ReaderTraits{.valueCommands = true, .buzzer = true},
                                           ReaderTraits{.valueCommands = false, .buzzer = false}),
                         [](const auto& info) {
                             return info.param.valueCommands ? "Acs" : "PlainStorageCard";
                         });

}  // namespace
}  // namespace kx::pcsc::testing
