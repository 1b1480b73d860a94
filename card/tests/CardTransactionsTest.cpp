#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "FakeReaderSdk.h"
#include "card/CardTransactions.h"

namespace kx::test {
namespace {

using Calls = std::vector<std::string>;

// The reader answers differently for each block, so misplaced bytes show.
void FillCard(FakeCard& card) {
    for (std::size_t i = 0; i < card.bytes.size(); ++i) {
        card.bytes[i] = static_cast<uint8_t>(i * 7 + i / 16);
    }
    card.SetValue(12, 12345);
    card.SetValue(13, 678);
    card.SetValue(14, 0xFFFFFFFF);
}

Calls GoodReadOnKxd103() {
    Calls calls{"KXD103 dc_init(100,0)", "KXD103 dc_card(7,0)"};
    const struct {
        int sector;
        std::vector<int> blocks;
    } sectors[] = {{0, {1, 2}}, {2, {8, 9, 10}}, {4, {16, 17, 18}}, {3, {12, 13, 14}}};
    for (const auto& s : sectors) {
        const std::string sector = std::to_string(s.sector);
        calls.push_back("KXD103 dc_load_key(7,0," + sector + ",FFFFFFFFFFFF)");
        calls.push_back("KXD103 dc_authentication(7,0," + sector + ")");
        for (const int block : s.blocks) {
            calls.push_back(
                std::string(s.sector == 3 ? "KXD103 dc_readval(7," : "KXD103 dc_read(7,") +
                std::to_string(block) + ")");
        }
    }
    calls.push_back("KXD103 dc_beep(7,30)");
    calls.push_back("KXD103 dc_exit(7)");
    return calls;
}

// The same read through the rf_ family: COM2 is SDK port 1, key mode 0 becomes 1.
Calls GoodReadOnKxd101OverCom2() {
    Calls calls;
    for (std::string call : GoodReadOnKxd103()) {
        if (call == "KXD103 dc_init(100,0)") {
            calls.push_back("KXD101 rf_init(1,9600)");
        } else if (call == "KXD103 dc_card(7,0)") {
            calls.insert(calls.end(), {"KXD101 rf_request(7,1)", "KXD101 rf_anticoll(7,0)",
                                       "KXD101 rf_select(7,439041101)"});
        } else {
            call.replace(0, 10, "KXD101 rf_");
            if (call.find("load_key") != std::string::npos ||
                call.find("authentication") != std::string::npos) {
                call.replace(call.find("(7,0,"), 5, "(7,1,");
            }
            calls.push_back(call);
        }
    }
    return calls;
}

// A good read on the dc_ reader over USB and on an rf_ reader over COM2.
struct GoodRead {
    const char* model;
    int portIndex;
    Calls calls;
};
std::vector<GoodRead> GoodReads() {
    return {{"KXD103", 0, GoodReadOnKxd103()}, {"KXD101", 2, GoodReadOnKxd101OverCom2()}};
}

// What a transaction that failed at calls[failedAt] does: nothing more but the double beep.
Calls FailedAt(const Calls& good, std::size_t failedAt, const std::string& model) {
    const std::string beep = model == "KXD103" ? "KXD103 dc_beep(7,30)" : "KXD101 rf_beep(7,30)";
    const std::string exit = model == "KXD103" ? "KXD103 dc_exit(7)" : "KXD101 rf_exit(7)";
    Calls calls(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(failedAt) + 1);
    calls.insert(calls.end(), {beep, "pause(50)", beep, exit});
    return calls;
}

// Steps whose failure ends a transaction: all but opening, beeping and closing.
bool CanFail(const std::string& call) {
    return call.find("init(") == std::string::npos && call.find("beep(") == std::string::npos &&
           call.find("exit(") == std::string::npos && call.find("halt(") == std::string::npos;
}

class CardTransactionsTest : public ::testing::Test {
  protected:
    void SetUp() override { FillCard(fake.card); }
    FakeReaderSdk fake;
};

TEST_F(CardTransactionsTest, GoodReadTakesTheWholeImageInOrder) {
    for (const GoodRead& c : GoodReads()) {
        SCOPED_TRACE(c.model);
        fake.calls.clear();
        TMemberCardImage image;
        EXPECT_EQ(ReadMemberCard(c.portIndex, c.model, image), 0);
        EXPECT_EQ(fake.calls, c.calls);
        EXPECT_EQ(image.Serial, fake.card.serial);
        EXPECT_TRUE(std::equal(image.Sector0.begin(), image.Sector0.end(), fake.card.Block(1)));
        EXPECT_TRUE(std::equal(image.Sector2.begin(), image.Sector2.end(), fake.card.Block(8)));
        EXPECT_TRUE(std::equal(image.Sector4.begin(), image.Sector4.end(), fake.card.Block(16)));
        EXPECT_EQ(image.Values, (std::array<uint32_t, 3>{12345, 678, 0xFFFFFFFF}));
    }
}

TEST_F(CardTransactionsTest, EachFailingReadStepStopsTheReadWithTwoBeepsAndClose) {
    for (const GoodRead& c : GoodReads()) {
        for (std::size_t step = 0; step < c.calls.size(); ++step) {
            if (!CanFail(c.calls[step])) {
                continue;
            }
            SCOPED_TRACE(c.calls[step]);
            FakeReaderSdk failing;
            FillCard(failing.card);
            failing.Return(c.calls[step], 1);
            TMemberCardImage image;
            EXPECT_EQ(ReadMemberCard(c.portIndex, c.model, image), -1);
            EXPECT_EQ(failing.calls, FailedAt(c.calls, step, c.model));
        }
    }
}

TEST_F(CardTransactionsTest, SectorJoinsTheImageOnlyWhenAllItsBlocksWereRead) {
    const TMemberCardImage untouched{{0x11}, {0x22}, {0x33}, {0x44, 0x55, 0x66}, 0x77};
    const struct {
        const char* failingCall;
        bool sector0, sector2, sector4, values;
    } cases[] = {
        {"KXD103 dc_load_key(7,0,0,FFFFFFFFFFFF)", false, false, false, false},
        {"KXD103 dc_read(7,2)", false, false, false, false},
        {"KXD103 dc_authentication(7,0,4)", true, true, false, false},
        {"KXD103 dc_read(7,17)", true, true, false, false},
        {"KXD103 dc_readval(7,13)", true, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failingCall);
        FakeReaderSdk failing;
        FillCard(failing.card);
        failing.Return(c.failingCall, 1);
        TMemberCardImage image = untouched;
        ASSERT_EQ(ReadMemberCard(0, "KXD103", image), -1);
        EXPECT_EQ(image.Sector0 != untouched.Sector0, c.sector0);
        EXPECT_EQ(image.Sector2 != untouched.Sector2, c.sector2);
        EXPECT_EQ(image.Sector4 != untouched.Sector4, c.sector4);
        EXPECT_EQ(image.Values != untouched.Values, c.values);
    }
}

TEST_F(CardTransactionsTest, ModelsThatCanOnlyBeepAndCloseFailEveryTransaction) {
    for (const char* model : {"KXD100", "KXD102", "KXD104"}) {
        const std::string prefix = std::string(model) + (model[5] == '2' ? " qz_" : " rf_");
        const Calls failed{prefix + "beep(-1,30)", "pause(50)", prefix + "beep(-1,30)",
                           prefix + "exit(-1)"};
        TMemberCardImage image;
        uint32_t serial = 0;
        fake.calls.clear();
        EXPECT_EQ(ReadMemberCard(0, model, image), -1);
        EXPECT_EQ(fake.calls, failed) << model;
        fake.calls.clear();
        EXPECT_EQ(DecMemberCard(1, model, 100, serial), -1);
        EXPECT_EQ(fake.calls, failed) << model;
        fake.calls.clear();
        EXPECT_EQ(IncMemberCard(1, model, 100, serial), -1);
        EXPECT_EQ(fake.calls, failed) << model;
    }
}

TEST_F(CardTransactionsTest, UnknownModelFailsWithoutAnySdkCall) {
    TMemberCardImage image;
    uint32_t serial = 0;
    EXPECT_EQ(ReadMemberCard(0, "kxd103", image), -1);
    EXPECT_EQ(DecMemberCard(0, "", 100, serial), -1);
    EXPECT_EQ(fake.calls, (Calls{"pause(50)", "pause(50)"}));
}

using ValueTransaction = int (*)(int, std::string_view, uint32_t, uint32_t&);

struct ValueCase {
    const char* name;
    ValueTransaction run;
    const char* model;
    Calls calls;
};

std::vector<ValueCase> GoodValueCases() {
    return {
        {"debit 12.50 on KXD103",
         DecMemberCard,
         "KXD103",
         {"KXD103 dc_init(100,0)", "KXD103 dc_card(7,0)", "KXD103 dc_load_key(7,0,3,FFFFFFFFFFFF)",
          "KXD103 dc_authentication(7,0,3)", "KXD103 dc_decrement(7,12,1250)", "KXD103 dc_halt(7)",
          "KXD103 dc_beep(7,30)", "KXD103 dc_exit(7)"}},
        {"debit 12.50 on KXD101",
         DecMemberCard,
         "KXD101",
         {"KXD101 rf_init(0,9600)", "KXD101 rf_request(7,1)", "KXD101 rf_anticoll(7,0)",
          "KXD101 rf_select(7,439041101)", "KXD101 rf_load_key(7,1,3,FFFFFFFFFFFF)",
          "KXD101 rf_authentication(7,1,3)", "KXD101 rf_decrement(7,12,1250)", "KXD101 rf_halt(7)",
          "KXD101 rf_beep(7,30)", "KXD101 rf_exit(7)"}},
        {"credit 12.50 on KXD103",
         IncMemberCard,
         "KXD103",
         {"KXD103 dc_init(100,0)", "KXD103 dc_card(7,0)", "KXD103 dc_load_key(7,0,3,FFFFFFFFFFFF)",
          "KXD103 dc_authentication(7,0,3)", "KXD103 dc_increment(7,12,1250)", "KXD103 dc_halt(7)",
          "KXD103 dc_beep(7,30)", "KXD103 dc_exit(7)"}},
    };
}

TEST_F(CardTransactionsTest, ValueChangeSelectsAuthenticatesChangesHaltsBeepsCloses) {
    for (const ValueCase& c : GoodValueCases()) {
        SCOPED_TRACE(c.name);
        FakeReaderSdk good;
        FillCard(good.card);
        uint32_t serial = 0;
        EXPECT_EQ(c.run(0, c.model, 1250, serial), 0);
        EXPECT_EQ(good.calls, c.calls);
        EXPECT_EQ(serial, good.card.serial);
    }
}

TEST_F(CardTransactionsTest, EachFailingValueStepEndsWithoutHaltAndWithTwoBeeps) {
    for (const ValueCase& c : GoodValueCases()) {
        for (std::size_t step = 0; step < c.calls.size(); ++step) {
            if (!CanFail(c.calls[step])) {
                continue;
            }
            SCOPED_TRACE(std::string(c.name) + ": " + c.calls[step]);
            FakeReaderSdk failing;
            failing.Return(c.calls[step], 1);
            uint32_t serial = 0;
            EXPECT_EQ(c.run(0, c.model, 1250, serial), -1);
            EXPECT_EQ(failing.calls, FailedAt(c.calls, step, c.model));
        }
    }
}

TEST_F(CardTransactionsTest, HaltResultDoesNotFailTheChange) {
    fake.Return("KXD103 dc_halt(7)", 5);
    uint32_t serial = 0;
    EXPECT_EQ(DecMemberCard(0, "KXD103", 100, serial), 0);
}

TEST_F(CardTransactionsTest, ChangeTakesTheSerialOfTheCardNowOnTheReader) {
    uint32_t serial = 0x11111111;  // the card the window read before
    fake.card.serial = 0x22222222;
    EXPECT_EQ(DecMemberCard(0, "KXD103", 100, serial), 0);
    EXPECT_EQ(serial, 0x22222222u);
}

}  // namespace
}  // namespace kx::test
