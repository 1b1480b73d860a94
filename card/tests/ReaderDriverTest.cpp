#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "FakeReaderSdk.h"
#include "card/ReaderDriver.h"
#include "card/ReaderSdk.h"

namespace kx::test {
namespace {

constexpr int32_t kHandle = FakeReaderSdk::kHandle;
constexpr uint8_t kKey[6] = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5};

using Calls = std::vector<std::string>;

// One operation with fixed arguments (port index 2, sector 4, block 9, ...), for any model.
struct Operation {
    const char* name;
    int32_t (*run)(std::string_view model);
    int32_t success;  // the result when the SDK answers 0
};

uint8_t gBlock[16];
uint32_t gValue;
uint32_t gSerial;

const Operation kInit{"ReaderInit", [](std::string_view m) { return ReaderInit(2, m); }, kHandle};
const Operation kBeep{"ReaderBeep",
                      [](std::string_view m) {
                          ReaderBeep(m, kHandle);
                          return int32_t{0};
                      },
                      0};
const Operation kCard{"ReaderCard",
                      [](std::string_view m) { return ReaderCard(m, kHandle, gSerial); }, 0};
const Operation kLoadKey{
    "ReaderLoadKey", [](std::string_view m) { return ReaderLoadKey(m, kHandle, 0, 4, kKey); }, 0};
const Operation kAuthentication{
    "ReaderAuthentication",
    [](std::string_view m) { return ReaderAuthentication(m, kHandle, 0, 4); }, 0};
const Operation kRead{"ReaderRead",
                      [](std::string_view m) { return ReaderRead(m, kHandle, 9, gBlock); }, 0};
const Operation kReadVal{
    "ReaderReadVal", [](std::string_view m) { return ReaderReadVal(m, kHandle, 13, gValue); }, 0};
const Operation kDecrement{
    "ReaderDecrement", [](std::string_view m) { return ReaderDecrement(m, kHandle, 12, 1250); }, 0};
const Operation kIncrement{
    "ReaderIncrement", [](std::string_view m) { return ReaderIncrement(m, kHandle, 12, 300); }, 0};
const Operation kHalt{"ReaderHalt", [](std::string_view m) { return ReaderHalt(m, kHandle); }, 0};
const Operation kExit{"ReaderExit", [](std::string_view m) { return ReaderExit(kHandle, m); }, 0};

// The dispatch table: per model, the SDK calls an operation makes; none means -1 at once.
struct DispatchRow {
    Operation operation;
    std::array<Calls, 5> calls;  // KXD100 ... KXD104
};

const std::vector<DispatchRow>& DispatchTable() {
    static const std::vector<DispatchRow> table{
        {kInit, {Calls{}, {"KXD101 rf_init(1,9600)"}, {}, {"KXD103 dc_init(1,9600)"}, {}}},
        {kBeep,
         {Calls{"KXD100 rf_beep(7,30)"},
          {"KXD101 rf_beep(7,30)"},
          {"KXD102 qz_beep(7,30)"},
          {"KXD103 dc_beep(7,30)"},
          {"KXD104 rf_beep(7,30)"}}},
        {kCard,
         {Calls{},
          {"KXD101 rf_request(7,1)", "KXD101 rf_anticoll(7,0)", "KXD101 rf_select(7,439041101)"},
          {},
          {"KXD103 dc_card(7,0)"},
          {}}},
        {kLoadKey,
         {Calls{},
          {"KXD101 rf_load_key(7,1,4,A0A1A2A3A4A5)"},
          {},
          {"KXD103 dc_load_key(7,0,4,A0A1A2A3A4A5)"},
          {}}},
        {kAuthentication,
         {Calls{},
          {"KXD101 rf_authentication(7,1,4)"},
          {},
          {"KXD103 dc_authentication(7,0,4)"},
          {}}},
        {kRead, {Calls{}, {"KXD101 rf_read(7,9)"}, {}, {"KXD103 dc_read(7,9)"}, {}}},
        {kReadVal, {Calls{}, {"KXD101 rf_readval(7,13)"}, {}, {"KXD103 dc_readval(7,13)"}, {}}},
        {kDecrement,
         {Calls{}, {"KXD101 rf_decrement(7,12,1250)"}, {}, {"KXD103 dc_decrement(7,12,1250)"}, {}}},
        {kIncrement,
         {Calls{}, {"KXD101 rf_increment(7,12,300)"}, {}, {"KXD103 dc_increment(7,12,300)"}, {}}},
        {kHalt, {Calls{}, {"KXD101 rf_halt(7)"}, {}, {"KXD103 dc_halt(7)"}, {}}},
        {kExit,
         {Calls{"KXD100 rf_exit(7)"},
          {"KXD101 rf_exit(7)"},
          {"KXD102 qz_exit(7)"},
          {"KXD103 dc_exit(7)"},
          {"KXD104 rf_exit(7)"}}},
    };
    return table;
}

class ReaderDriverTest : public ::testing::Test {
  protected:
    FakeReaderSdk fake;
};

TEST_F(ReaderDriverTest, EachOperationCallsItsModelsFunctionWithTheTablesArguments) {
    for (const DispatchRow& row : DispatchTable()) {
        for (std::size_t m = 0; m < kReaderModelNames.size(); ++m) {
            SCOPED_TRACE(std::string(row.operation.name) + " on " +
                         std::string(kReaderModelNames[m]));
            fake.calls.clear();
            const int32_t result = row.operation.run(kReaderModelNames[m]);
            EXPECT_EQ(fake.calls, row.calls[m]);
            const bool silentBeep = row.operation.run == kBeep.run;
            if (!silentBeep) {
                EXPECT_EQ(result, row.calls[m].empty() ? -1 : row.operation.success);
            }
        }
    }
}

TEST_F(ReaderDriverTest, ModelNameThatMatchesNoModelSelectsNothing) {
    for (const char* name : {"kxd103", "Kxd101", "", "KXD10", "KXD1033", " KXD103", "KXD105"}) {
        for (const DispatchRow& row : DispatchTable()) {
            SCOPED_TRACE(std::string(row.operation.name) + " on '" + name + "'");
            const int32_t result = row.operation.run(name);
            if (row.operation.run != kBeep.run) {
                EXPECT_EQ(result, -1);
            }
        }
        EXPECT_EQ(fake.calls, Calls{});
    }
}

TEST_F(ReaderDriverTest, AnExceptionInsideTheSdkBecomesMinusOne) {
    for (const DispatchRow& row : DispatchTable()) {
        for (std::size_t m = 0; m < kReaderModelNames.size(); ++m) {
            if (row.calls[m].empty()) {
                continue;
            }
            SCOPED_TRACE(std::string(row.operation.name) + " on " +
                         std::string(kReaderModelNames[m]));
            FakeReaderSdk throwing;
            throwing.Throw(row.calls[m].back());
            int32_t result = 0;
            EXPECT_NO_THROW(result = row.operation.run(kReaderModelNames[m]));
            if (row.operation.run != kBeep.run) {
                EXPECT_EQ(result, -1);
            }
        }
    }
}

TEST_F(ReaderDriverTest, UnboundFunctionIsAnswereredLikeAMissingOperation) {
    ModelSdk beepAndExitOnly;
    beepAndExitOnly.beep = ReaderSdkOf(ReaderModel::KXD103).beep;
    beepAndExitOnly.exit = ReaderSdkOf(ReaderModel::KXD103).exit;
    InstallReaderSdk(ReaderModel::KXD103, beepAndExitOnly);
    for (const Operation& op : {kInit, kCard, kLoadKey, kAuthentication, kRead, kReadVal,
                                kDecrement, kIncrement, kHalt}) {
        EXPECT_EQ(op.run("KXD103"), -1) << op.name;
    }
    EXPECT_EQ(fake.calls, Calls{});

    ClearReaderSdk();
    for (const DispatchRow& row : DispatchTable()) {
        const int32_t result = row.operation.run("KXD101");
        if (row.operation.run != kBeep.run) {
            EXPECT_EQ(result, -1) << row.operation.name;
        }
    }
    EXPECT_EQ(fake.calls, Calls{});
}

TEST_F(ReaderDriverTest, PortIndexMapsToTheSdkPort) {
    const struct {
        const char* model;
        int portIndex;
        Calls calls;
    } cases[] = {
        {"KXD101", 0, {"KXD101 rf_init(0,9600)"}},  // USB
        {"KXD101", 1, {"KXD101 rf_init(0,9600)"}},  // COM1 opens the same SDK port as USB
        {"KXD101", 2, {"KXD101 rf_init(1,9600)"}},
        {"KXD101", 6, {"KXD101 rf_init(5,9600)"}},
        {"KXD103", 0, {"KXD103 dc_init(100,0)"}},
        {"KXD103", 1, {"KXD103 dc_init(0,9600)"}},
        {"KXD103", 3, {"KXD103 dc_init(2,9600)"}},
        {"KXD103", 6, {"KXD103 dc_init(5,9600)"}},
        // No such entry in the port list: nothing is opened.
        {"KXD101", 7, {}},
        {"KXD103", -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " port index " + std::to_string(c.portIndex));
        fake.calls.clear();
        EXPECT_EQ(ReaderInit(c.portIndex, c.model), c.calls.empty() ? -1 : kHandle);
        EXPECT_EQ(fake.calls, c.calls);
    }
}

TEST_F(ReaderDriverTest, CardSerialIsWrittenOnlyOnceTheCardAnsweredAnticollision) {
    constexpr uint32_t kUntouched = 0xDEADBEEF;
    const struct {
        const char* model;
        const char* failingCall;
        uint32_t serialAfter;
    } cases[] = {
        {"KXD101", "KXD101 rf_request(7,1)", kUntouched},
        {"KXD101", "KXD101 rf_anticoll(7,0)", kUntouched},
        {"KXD101", "KXD101 rf_select(7,439041101)", 439041101},
        {"KXD103", "KXD103 dc_card(7,0)", kUntouched},
    };
    for (const auto& c : cases) {
        for (const int16_t status : {int16_t{1}, int16_t{-2}, int16_t{3}}) {
            SCOPED_TRACE(std::string(c.failingCall) + " -> " + std::to_string(status));
            FakeReaderSdk failing;
            failing.Return(c.failingCall, status);
            uint32_t serial = kUntouched;
            EXPECT_EQ(ReaderCard(c.model, kHandle, serial), -1);
            EXPECT_EQ(serial, c.serialAfter);
            EXPECT_EQ(failing.calls.back(), c.failingCall);
        }
    }
}

TEST_F(ReaderDriverTest, CardSelectionWritesTheSerialOnSuccess) {
    for (const char* model : {"KXD101", "KXD103"}) {
        uint32_t serial = 0;
        EXPECT_EQ(ReaderCard(model, kHandle, serial), 0);
        EXPECT_EQ(serial, fake.card.serial) << model;
    }
}

TEST_F(ReaderDriverTest, SdkStatusesAreWidenedWithTheirSign) {
    for (const int16_t status : {int16_t{3}, int16_t{-2}, int16_t{-32768}}) {
        FakeReaderSdk statuses;
        statuses.Return("KXD103 dc_read(7,9)", status);
        statuses.Return("KXD101 rf_halt(7)", status);
        statuses.Return("KXD103 dc_exit(7)", status);
        EXPECT_EQ(ReaderRead("KXD103", kHandle, 9, gBlock), status);
        EXPECT_EQ(ReaderHalt("KXD101", kHandle), status);
        EXPECT_EQ(ReaderExit(kHandle, "KXD103"), status);
    }
}

TEST_F(ReaderDriverTest, RfInitHandleIsWidenedWithItsSignAndDcInitHandleTakenWhole) {
    fake.initResult = -2;
    EXPECT_EQ(ReaderInit(0, "KXD101"), -2);
    fake.initResult = 0x12345678;
    EXPECT_EQ(ReaderInit(0, "KXD103"), 0x12345678);
}

TEST_F(ReaderDriverTest, ReadAndReadValPassTheCardsData) {
    for (int i = 0; i < 16; ++i) {
        fake.card.Block(9)[i] = static_cast<uint8_t>(0x30 + i);
    }
    fake.card.SetValue(13, 0xFFFFFFFF);
    for (const char* model : {"KXD101", "KXD103"}) {
        uint8_t data[16] = {};
        uint32_t value = 0;
        ASSERT_EQ(ReaderRead(model, kHandle, 9, data), 0);
        ASSERT_EQ(ReaderReadVal(model, kHandle, 13, value), 0);
        EXPECT_EQ(std::vector<uint8_t>(data, data + 16),
                  std::vector<uint8_t>(fake.card.Block(9), fake.card.Block(9) + 16));
        EXPECT_EQ(value, 0xFFFFFFFFu);
    }
}

}  // namespace
}  // namespace kx::test
