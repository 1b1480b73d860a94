// kxcard issue, place, remove and read, run as the program itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "KxcardProgramTest.h"

namespace kx {
namespace {

using test::Contents;
using test::Outcome;

class KxcardTest : public test::KxcardProgramTest {
  protected:
    // A runnable installation with the simulated reader libraries, for place, read and remove.
    std::string MakeInstallation() const {
        const auto libraries = folder_ / "dist" / "LibaryDir";
        std::filesystem::create_directories(libraries);
        for (const char* library :
             {KX_SIM_KXD100, KX_SIM_KXD101, KX_SIM_KXD102, KX_SIM_KXD103, KX_SIM_KXD104}) {
            std::filesystem::copy_file(library,
                                       libraries / std::filesystem::path(library).filename());
        }
        return (folder_ / "dist").string();
    }
};

const std::vector<std::string> kFullCard{
    "--name",     "欧阳明月张三李四王五",  // 10 characters, 20 bytes in GBK: the whole field
    "--cer-no",   "11010119850715001X",
    "--cer-type", "2",
    "--sex",      "2",
    "--address",  "广东省深圳市南山区科技园南区一号楼",  // 17 characters, 34 bytes: the whole field
    "--phone",    "01088886666",
    "--birthday", "1985-07-15",
    "--balance",  "12345678.9",
    "--points",   "4294967295",
    "--serial",   "0000abcd"};

TEST_F(KxcardTest, IssuedCardDecodesToEveryFieldGiven) {
    std::vector<std::string> args{"issue", Path("card.mfd")};
    args.insert(args.end(), kFullCard.begin(), kFullCard.end());
    ASSERT_EQ(Run(args).exitCode, 0);
    const Outcome decoded = Run({"decode", Path("card.mfd"), "--today", "2024-07-14"});
    EXPECT_EQ(decoded.exitCode, 0);
    EXPECT_EQ(
        decoded.out,
        "{\"check\":\"ccOk\",\"message\":\"读取会员数据成功！\",\"MemberCode\":\"0000ABCD\","
        "\"CerNO\":\"11010119850715001X\",\"MemberName\":\"欧阳明月张三李四王五\","
        "\"CerType\":2,\"MemberSex\":2,"
        "\"CerNewAddr\":\"广东省深圳市南山区科技园南区一号楼\",\"MobilePhone\":\"01088886666\","
        "\"MemBirthday\":\"1985-07-15\",\"MemberAge\":39,\"MemberPoints\":4294967295,"
        "\"StoreMoney\":1234567890}\n");
}

TEST_F(KxcardTest, IssuedDumpIsAFactoryFreshClassic1K) {
    ASSERT_EQ(Run({"issue", Path("card.mfd"), "--serial", "1A2B3C4D", "--balance", "1"}).exitCode,
              0);
    const std::string dump = Contents(Path("card.mfd"));
    ASSERT_EQ(dump.size(), 1024u);
    const auto block = [&dump](int number) { return dump.substr(number * 16, 16); };
    // UID least significant byte first, BCC, SAK 08, ATQA 04 00.
    EXPECT_EQ(block(0).substr(0, 8), std::string("\x4D\x3C\x2B\x1A\x40\x08\x04\x00", 8));
    const std::string trailer("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x07\x80\x69\xFF\xFF\xFF\xFF\xFF\xFF",
                              16);
    for (int sector = 0; sector < 16; ++sector) {
        EXPECT_EQ(block(sector * 4 + 3), trailer) << "sector " << sector;
    }
    EXPECT_EQ(block(12), std::string("\x64\0\0\0\x9B\xFF\xFF\xFF\x64\0\0\0\x0C\xF3\x0C\xF3", 16));
    EXPECT_EQ(block(14), std::string("\0\0\0\0\xFF\xFF\xFF\xFF\0\0\0\0\x0E\xF1\x0E\xF1", 16));
}

TEST_F(KxcardTest, BalanceIsConvertedToCentsExactly) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", "0"},      {"12.5", "1250"},  {"12.50", "1250"},
        {"0.01", "1"},   {"19.99", "1999"}, {"0042949672.95", "4294967295"},
        {"1.10", "110"},
    };
    for (const auto& [yuan, cents] : cases) {
        ASSERT_EQ(Run({"issue", Path("card.mfd"), "--balance", yuan}).exitCode, 0) << yuan;
        EXPECT_NE(Run({"decode", Path("card.mfd")})
                      .out.find("\"StoreMoney\":" + std::string(cents) + "}"),
                  std::string::npos)
            << yuan;
    }
}

TEST_F(KxcardTest, BadIssueArgumentsGetOneLineAndNoCard) {
    const std::vector<std::vector<std::string>> cases{
        {"--name", "欧阳明月张三李四王五赵"},  // 22 bytes
        {"--cer-no", "110101198507150011123"},
        {"--address", "广东省深圳市南山区科技园南区一号楼A"},
        {"--name", "😀"},
        {"--name", "tab\there"},
        {"--phone", "01234567890123456"},
        {"--phone", "138-0013"},
        {"--birthday", "2023-02-29"},
        {"--birthday", "1985-7-15"},
        {"--balance", "12.345"},
        {"--balance", "-1"},
        {"--balance", "1e3"},
        {"--balance", "12."},
        {"--balance", ".5"},
        {"--balance", "42949672.96"},
        {"--balance", "99999999999"},
        {"--points", "4294967296"},
        {"--points", "-1"},
        {"--serial", "1A2B3C4"},
        {"--serial", "1A2B3C4G"},
        {"--issuer", "999"},
        {"--cer-type", "256"},
        {"--sex", "x"},
        {"--scheme", "300"},
        {"--colour", "red"},
        {"--name"},
        {"--name", "a", "--name", "b"},
    };
    for (const auto& options : cases) {
        std::vector<std::string> args{"issue", Path("card.mfd")};
        args.insert(args.end(), options.begin(), options.end());
        const Outcome outcome = Run(args);
        SCOPED_TRACE(options.front() + " " + options.back());
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.err.starts_with("kxcard issue: ")) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_FALSE(std::filesystem::exists(Path("card.mfd")));
    }
    EXPECT_EQ(Run({"issue"}).exitCode, 2);
}

TEST_F(KxcardTest, PlacedCardReadsAsItDecodes) {
    const std::string dist = MakeInstallation();
    std::vector<std::string> issue{"issue", Path("card.mfd")};
    issue.insert(issue.end(), kFullCard.begin(), kFullCard.end());
    ASSERT_EQ(Run(issue).exitCode, 0);
    ASSERT_EQ(Run({"place", Path("card.mfd"), "--dist", dist}).exitCode, 0);

    const std::string decoded = Run({"decode", Path("card.mfd")}).out;
    const Outcome usb = Run({"read", "--dist", dist});
    EXPECT_EQ(usb.exitCode, 0) << usb.err;
    EXPECT_EQ(usb.out, decoded);
    const Outcome com2 = Run({"read", "--dist", dist, "--port", "COM2", "--model", "KXD101"});
    EXPECT_EQ(com2.exitCode, 0) << com2.err;
    EXPECT_EQ(com2.out, decoded);
}

TEST_F(KxcardTest, FailedReadsSayWhyOnStderr) {
    const std::string dist = MakeInstallation();
    const std::string failed = "读卡失败，请确认是否正确放卡！\n";
    const Outcome empty = Run({"read", "--dist", dist});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, failed);
    EXPECT_EQ(empty.out, "");

    ASSERT_EQ(Run({"issue", Path("card.mfd")}).exitCode, 0);
    ASSERT_EQ(Run({"place", Path("card.mfd"), "--dist", dist}).exitCode, 0);
    const Outcome beepOnly = Run({"read", "--dist", dist, "--model", "KXD104"});
    EXPECT_EQ(beepOnly.exitCode, 1);
    EXPECT_EQ(beepOnly.err, failed);

    ASSERT_EQ(Run({"remove", "--dist", dist}).exitCode, 0);
    EXPECT_EQ(Run({"read", "--dist", dist}).exitCode, 1);

    std::filesystem::remove(std::filesystem::path(dist) / "LibaryDir" / "KXD102.so");
    const Outcome unbound = Run({"read", "--dist", dist});
    EXPECT_EQ(unbound.exitCode, 1);
    EXPECT_NE(unbound.err.find("KXD102.so"), std::string::npos) << unbound.err;
}

TEST_F(KxcardTest, BadReaderArgumentsAreRefused) {
    const std::string dist = MakeInstallation();
    std::ofstream(Path("short.mfd")) << "not a card";
    const std::vector<std::vector<std::string>> cases{
        {"place", Path("short.mfd"), "--dist", dist},
        {"place", Path("missing.mfd"), "--dist", dist},
        {"place", "--dist", dist},
        {"remove", "--dist", folder_.string()},  // no LibaryDir: not an installation
        {"read", "--dist", dist, "--port", "COM7"},
        {"read", "--dist", dist, "--model", "kxd103"},
        {"read", "--dist", dist, "extra"},
    };
    for (const auto& args : cases) {
        const Outcome outcome = Run(args);
        SCOPED_TRACE(args.front() + " " + args[1]);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.err.starts_with("kxcard " + args.front() + ": ")) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dist) / "LibaryDir" / "SimReader"));
}

}  // namespace
}  // namespace kx
