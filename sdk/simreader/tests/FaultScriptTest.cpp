#include "simreader/FaultScript.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestFolder.h"
#include "simreader/TraceLine.h"

namespace kx::sim {
namespace {

TEST(ParseFault, ReadsBothKindsAndRejectsTheRest) {
    const auto fail = ParseFault("fail dc_read 3");
    ASSERT_TRUE(fail);
    EXPECT_EQ(fail->kind, Fault::Kind::Fail);
    EXPECT_EQ(fail->function, "dc_read");
    EXPECT_EQ(fail->status, 3);
    EXPECT_EQ(ParseFault("  fail   rf_select   -2 ")->status, -2);
    const auto leave = ParseFault("leave dc_decrement");
    ASSERT_TRUE(leave);
    EXPECT_EQ(leave->kind, Fault::Kind::Leave);
    EXPECT_EQ(leave->function, "dc_decrement");

    for (const char* bad : {"", "# fail dc_read 3", "fail dc_read", "fail dc_read 0",
                            "fail dc_read x", "fail dc_read 3x", "fail dc_read 40000", "leave",
                            "leave dc_read 3", "crash dc_read 3", "fail dc_read 3 4"}) {
        EXPECT_FALSE(ParseFault(bad)) << "'" << bad << "'";
    }
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(FaultScript, EachFaultFiresOnceInOrderAndLeavesTheOthers) {
    TestFolder folder;
    const auto file = folder.Path() / "faults";
    std::ofstream(file) << "# torn debit\nfail dc_read 4\nleave dc_read\nfail dc_read 5\nbogus\n";
    const FaultScript script(file);

    EXPECT_EQ(script.TakeFailure("dc_card"), std::nullopt);
    EXPECT_EQ(script.TakeFailure("dc_read"), 4);
    EXPECT_TRUE(script.TakeLeave("dc_read"));
    EXPECT_FALSE(script.TakeLeave("dc_read"));
    EXPECT_EQ(script.TakeFailure("dc_read"), 5);
    EXPECT_EQ(script.TakeFailure("dc_read"), std::nullopt);
    EXPECT_EQ(Contents(file), "# torn debit\nbogus\n");
}

TEST(FaultScript, NoFileNoFaults) {
    TestFolder folder;
    const FaultScript script(folder.Path() / "faults");
    EXPECT_EQ(script.TakeFailure("dc_read"), std::nullopt);
    EXPECT_FALSE(script.TakeLeave("dc_read"));
}

TEST(TraceLine, FormatsArgumentsKeysAndResults) {
    const uint8_t key[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const uint8_t mixed[6] = {0x00, 0x1A, 0xB2, 0x3c, 0x09, 0xF0};
    EXPECT_EQ(TraceLine("dc_init", TraceArguments(int16_t{100}, int32_t{0}), 7),
              "dc_init(100, 0) = 7");
    EXPECT_EQ(TraceLine("dc_load_key",
                        TraceArguments(int32_t{7}, uint8_t{0}, uint8_t{0}, TraceKey{key}), 0),
              "dc_load_key(7, 0, 0, FFFFFFFFFFFF) = 0");
    EXPECT_EQ(TraceArguments(TraceKey{mixed}), "001AB23C09F0");
    EXPECT_EQ(TraceLine("dc_beep", TraceArguments(int32_t{7}, uint16_t{30}), std::nullopt),
              "dc_beep(7, 30)");
    EXPECT_EQ(TraceLine("rf_select", TraceArguments(int32_t{-1}, uint32_t{4294967295u}), -2),
              "rf_select(-1, 4294967295) = -2");
    EXPECT_EQ(TraceArguments(TraceKey{nullptr}), "NULL");
}

}  // namespace
}  // namespace kx::sim
