// End to end: the five simulated reader libraries, copied into a temporary installation, bound
// by the card layer's real binding and driven by the real card transactions; cards are issued
// and placed with kxcard.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "card/CardTransactions.h"
#include "card/MemberCard.h"
#include "card/SdkBinding.h"
#include "mifare/ValueBlock.h"
#include "simreader/DumpFile.h"
#include "simreader/MifareCard.h"
#include "simreader/ReaderFolder.h"

namespace kx::sim {
namespace {

struct BuiltLibrary {
    const char* model;
    const char* path;
    std::set<std::string> functions;
};

const std::set<std::string> kRfFunctions{
    "rf_init",      "rf_beep",           "rf_request", "rf_anticoll", "rf_select",
    "rf_load_key",  "rf_authentication", "rf_read",    "rf_readval",  "rf_decrement",
    "rf_increment", "rf_halt",           "rf_exit"};
const std::vector<BuiltLibrary> kLibraries{
    {"KXD100", KX_SIM_KXD100, kRfFunctions},
    {"KXD101", KX_SIM_KXD101, kRfFunctions},
    {"KXD102", KX_SIM_KXD102, {"qz_beep", "qz_exit"}},
    {"KXD103",
     KX_SIM_KXD103,
     {"dc_init", "dc_beep", "dc_card", "dc_load_key", "dc_authentication", "dc_read", "dc_readval",
      "dc_decrement", "dc_increment", "dc_halt", "dc_exit"}},
    {"KXD104", KX_SIM_KXD104, kRfFunctions},
};

std::string Quote(const std::string& text) {
    return "'" + text + "'";
}

std::string RunOutput(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    char buffer[256];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        output += buffer;
    }
    return output;
}

constexpr uint32_t kSerial = 0x1A2B3C4D;
constexpr uint32_t kBalance = 10050;
constexpr uint32_t kPoints = 20;

// One installation for the whole suite: a library stays loaded once bound, so every test uses
// the same copies and starts from an empty reader folder.
class SdkLibrariesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        installation_ = std::filesystem::path(::testing::TempDir()) / "kxsim_installation";
        std::filesystem::remove_all(installation_);
        std::filesystem::create_directories(installation_ / "LibaryDir");
        for (const BuiltLibrary& library : kLibraries) {
            std::filesystem::copy_file(
                library.path, installation_ / "LibaryDir" / (std::string(library.model) + ".so"));
        }
        BindReaderSdk(installation_, kPayTerminalOps | kIncTerminalOps);
        SetTransactionPause([](int) {});
    }
    static void TearDownTestSuite() {
        SetTransactionPause(nullptr);
        std::filesystem::remove_all(installation_);
    }

    SdkLibrariesTest() : reader_(ReaderFolder::OfInstallation(installation_)) {
        std::filesystem::remove_all(reader_.Path());
        dump_ = folder_.Path() / "member.mfd";
        Kxcard("issue " + Quote(dump_.string()) +
               " --name 张三 --cer-no 110101198507150011 --address 北京市东城区 --phone 01088886666"
               " --birthday 1985-07-15 --balance 100.50 --points 20 --serial 1A2B3C4D");
        Kxcard("place " + Quote(dump_.string()) + " --dist " + Quote(installation_.string()));
        std::ofstream(reader_.TraceFile());
    }

    static void Kxcard(const std::string& arguments) {
        const std::string command = Quote(KX_KXCARD) + " " + arguments + " >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    void Script(const std::string& faults) const { std::ofstream(reader_.FaultsFile()) << faults; }

    std::vector<std::string> Trace() const {
        std::ifstream in(reader_.TraceFile());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // The value of block 12, 13 or 14 in the dump; fails the test if the block is corrupt.
    std::optional<int32_t> ValueOnCard(int block) const {
        const auto bytes = ReadDump(dump_);
        const auto value = bytes ? mifare::DecodeValueBlock(std::span<const uint8_t, kBlockSize>(
                                       bytes->data() + block * kBlockSize, kBlockSize))
                                 : std::nullopt;
        if (!value) {
            return std::nullopt;
        }
        return value->value;
    }

    void ExpectBalance(uint32_t cents) const {
        EXPECT_EQ(ValueOnCard(12), static_cast<int32_t>(cents));
        EXPECT_EQ(ValueOnCard(13), static_cast<int32_t>(kPoints));
        EXPECT_EQ(ValueOnCard(14), 0);
    }

    static inline std::filesystem::path installation_;
    TestFolder folder_;
    ReaderFolder reader_;
    std::filesystem::path dump_;
};

// The calls of a good read, as the trace shows them: prefix rf or dc, the key mode the library
// receives, and the lines that open the reader and select the card.
std::vector<std::string> GoodReadTrace(const std::string& prefix, int keyMode,
                                       const std::vector<std::string>& openAndSelect) {
    std::vector<std::string> lines = openAndSelect;
    const auto mode = std::to_string(keyMode);
    const auto openSector = [&](int sector) {
        const auto s = std::to_string(sector);
        lines.push_back(prefix + "_load_key(1, " + mode + ", " + s + ", FFFFFFFFFFFF) = 0");
        lines.push_back(prefix + "_authentication(1, " + mode + ", " + s + ") = 0");
    };
    const auto read = [&](const char* function, int first, int count) {
        for (int block = first; block < first + count; ++block) {
            lines.push_back(prefix + function + "(1, " + std::to_string(block) + ") = 0");
        }
    };
    openSector(0);
    read("_read", 1, 2);
    openSector(2);
    read("_read", 8, 3);
    openSector(4);
    read("_read", 16, 3);
    openSector(3);
    read("_readval", 12, 3);
    lines.push_back(prefix + "_beep(1, 30)");
    lines.push_back(prefix + "_exit(1) = 0");
    return lines;
}

TEST_F(SdkLibrariesTest, GoodReadOnKxd103OverUsb) {
    TMemberCardImage image;
    ASSERT_EQ(ReadMemberCard(0, "KXD103", image), 0);
    EXPECT_EQ(Trace(), GoodReadTrace("dc", 0, {"dc_init(100, 0) = 1", "dc_card(1, 0) = 0"}));
    EXPECT_EQ(image.Serial, kSerial);
    EXPECT_EQ(image.Values, (std::array<uint32_t, 3>{kBalance, kPoints, 0}));
    TMemberRecord record;
    EXPECT_EQ(DecodeMemberCard(image, kExpectedSchemeCode, record), TCardCheck::ccOk);
    EXPECT_EQ(record.MemberName, "张三");
}

TEST_F(SdkLibrariesTest, GoodReadOnKxd101OverCom2) {
    TMemberCardImage image;
    ASSERT_EQ(ReadMemberCard(2, "KXD101", image), 0);
    EXPECT_EQ(Trace(), GoodReadTrace(
                           "rf", 1,
                           {"rf_init(1, 9600) = 1", "rf_request(1, 1) = 0", "rf_anticoll(1, 0) = 0",
                            "rf_select(1, " + std::to_string(kSerial) + ") = 0"}));
    EXPECT_EQ(image.Serial, kSerial);
    EXPECT_EQ(image.Values[0], kBalance);
}

TEST_F(SdkLibrariesTest, DebitTakesExactlyTheAmountOffTheBalance) {
    uint32_t serial = 0;
    ASSERT_EQ(DecMemberCard(0, "KXD103", 1250, serial), 0);
    EXPECT_EQ(serial, kSerial);
    ExpectBalance(kBalance - 1250);
    const std::vector<std::string> expected{"dc_init(100, 0) = 1",
                                            "dc_card(1, 0) = 0",
                                            "dc_load_key(1, 0, 3, FFFFFFFFFFFF) = 0",
                                            "dc_authentication(1, 0, 3) = 0",
                                            "dc_decrement(1, 12, 1250) = 0",
                                            "dc_halt(1) = 0",
                                            "dc_beep(1, 30)",
                                            "dc_exit(1) = 0"};
    EXPECT_EQ(Trace(), expected);
}

TEST_F(SdkLibrariesTest, CreditAddsTheAmountOnBothCardModels) {
    uint32_t serial = 0;
    ASSERT_EQ(IncMemberCard(2, "KXD101", 2000, serial), 0);
    ASSERT_EQ(IncMemberCard(0, "KXD103", 1, serial), 0);
    EXPECT_EQ(serial, kSerial);
    ExpectBalance(kBalance + 2001);
}

TEST_F(SdkLibrariesTest, ScriptedFaultsChangeTheBalanceOnceOrNotAtAll) {
    struct Case {
        const char* faults;
        int result;
        uint32_t balance;
    };
    const Case cases[] = {
        {"fail dc_init -5\n", -1, kBalance},  // the reader does not open
        {"fail dc_card 1\n", -1, kBalance},
        {"fail dc_load_key 5\n", -1, kBalance},
        {"fail dc_authentication 6\n", -1, kBalance},
        {"fail dc_decrement 8\n", -1, kBalance},
        {"leave dc_card\n", -1, kBalance},
        {"leave dc_authentication\n", -1, kBalance},   // torn before the value call
        {"leave dc_decrement\n", 0, kBalance - 1250},  // torn after it: halt misses, debit stands
        {"fail dc_halt 1\n", 0, kBalance - 1250},
        {"fail dc_beep 1\n", 0, kBalance - 1250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.faults);
        Kxcard("issue " + Quote(dump_.string()) +
               " --balance 100.50 --points 20 --serial 1A2B3C4D");
        Kxcard("place " + Quote(dump_.string()) + " --dist " + Quote(installation_.string()));
        Script(c.faults);
        uint32_t serial = 0;
        EXPECT_EQ(DecMemberCard(0, "KXD103", 1250, serial), c.result);
        ExpectBalance(c.balance);
    }
}

TEST_F(SdkLibrariesTest, AReadFailsWhenAScriptedFaultHitsIt) {
    Script("fail rf_read 3\n");
    TMemberCardImage image;
    EXPECT_EQ(ReadMemberCard(1, "KXD101", image), -1);
    const auto trace = Trace();
    ASSERT_GE(trace.size(), 4u);
    EXPECT_EQ(trace[trace.size() - 4], "rf_read(1, 1) = 3");
    EXPECT_EQ(trace[trace.size() - 3], "rf_beep(1, 30)");
    EXPECT_EQ(trace[trace.size() - 2], "rf_beep(1, 30)");
    EXPECT_EQ(trace.back(), "rf_exit(1) = 0");
}

TEST_F(SdkLibrariesTest, BeepAndCloseModelsFailEveryReadThroughTheirOwnLibrary) {
    for (const auto& [model, beep, exit] :
         {std::tuple{"KXD100", "rf_beep(-1, 30)", "rf_exit(-1) = 2"},
          std::tuple{"KXD102", "qz_beep(-1, 30)", "qz_exit(-1) = 2"},
          std::tuple{"KXD104", "rf_beep(-1, 30)", "rf_exit(-1) = 2"}}) {
        SCOPED_TRACE(model);
        std::ofstream(reader_.TraceFile(), std::ios::trunc);
        TMemberCardImage image;
        EXPECT_EQ(ReadMemberCard(0, model, image), -1);
        EXPECT_EQ(Trace(), (std::vector<std::string>{beep, beep, exit}));
    }
}

TEST_F(SdkLibrariesTest, NoCardOnTheReader) {
    Kxcard("remove --dist " + Quote(installation_.string()));
    TMemberCardImage image;
    EXPECT_EQ(ReadMemberCard(0, "KXD103", image), -1);
    const std::vector<std::string> expected{"dc_init(100, 0) = 1", "dc_card(1, 0) = 1",
                                            "dc_beep(1, 30)", "dc_beep(1, 30)", "dc_exit(1) = 0"};
    EXPECT_EQ(Trace(), expected);
}

TEST_F(SdkLibrariesTest, ACardWhoseSector3AnswersAnotherKey) {
    auto bytes = *ReadDump(dump_);
    bytes[TrailerOfSector(3) * kBlockSize] = 0xA0;  // key A no longer the transport key
    ASSERT_TRUE(WriteFileAtomically(dump_, bytes));

    TMemberCardImage image;
    EXPECT_EQ(ReadMemberCard(0, "KXD103", image), -1);
    const auto trace = Trace();
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "dc_authentication(1, 0, 3) = 6"), 1);
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "dc_read(1, 18) = 0"), 1);
    uint32_t serial = 0;
    EXPECT_EQ(DecMemberCard(0, "KXD103", 1250, serial), -1);
    ExpectBalance(kBalance);
}

TEST_F(SdkLibrariesTest, NothingIsTracedWithoutTheTraceFile) {
    std::filesystem::remove(reader_.TraceFile());
    TMemberCardImage image;
    ASSERT_EQ(ReadMemberCard(0, "KXD103", image), 0);
    EXPECT_FALSE(std::filesystem::exists(reader_.TraceFile()));
}

TEST(SdkLibraryExports, EachLibraryExportsExactlyItsModelsFunctions) {
    for (const BuiltLibrary& library : kLibraries) {
        SCOPED_TRACE(library.model);
        const std::string symbols =
            RunOutput("nm -D --defined-only --format=posix " + Quote(library.path));
        std::set<std::string> exported;
        std::istringstream lines(symbols);
        for (std::string line; std::getline(lines, line);) {
            exported.insert(line.substr(0, line.find(' ')));
        }
        EXPECT_EQ(exported, library.functions);
    }
}

}  // namespace
}  // namespace kx::sim
