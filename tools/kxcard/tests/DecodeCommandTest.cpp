#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "KxcardProgramTest.h"
#include "SampleCard.h"
#include "card/MemberCard.h"

namespace kx::test {
namespace {

namespace fs = std::filesystem;

class DecodeCommandTest : public KxcardProgramTest {
  protected:
    fs::path WriteFile(const std::string& name, const std::string& bytes) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path WriteDump(const SampleCard& card) {
        return WriteFile("card.mfd", std::string(card.dump.begin(), card.dump.end()));
    }
};

constexpr const char* kGoodCardJson =
    R"({"check":"ccOk","message":"读取会员数据成功！","MemberCode":"1A2B3C4D",)"
    R"("CerNO":"110101198507150011","MemberName":"张三","CerType":2,"MemberSex":1,)"
    R"("CerNewAddr":"北京市海淀区","MobilePhone":"013800138000","MemBirthday":"1985-07-15",)"
    R"("MemberAge":39,"MemberPoints":678,"StoreMoney":12345})"
    "\n";

TEST_F(DecodeCommandTest, GoodCardPrintsEveryFieldOnOneLine) {
    const fs::path dump = WriteDump(GoodSampleCard());
    for (const auto& args :
         {std::vector<std::string>{"decode", dump.string(), "--today", "2024-07-14"},
          std::vector<std::string>{"decode", "--today", "2024-07-14", dump.string()}}) {
        const Outcome outcome = Run(args);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.out, kGoodCardJson);
        EXPECT_EQ(outcome.err, "");
    }
}

TEST_F(DecodeCommandTest, FailedCheckPrintsTheFieldsReachedAndExitsZero) {
    const struct {
        const char* name;
        std::function<void(SampleCard&)> spoil;
        std::string json;
    } cases[] = {
        {"not a shop member", [](SampleCard& c) { c.Sector0()[8] = 0x4F; },
         R"({"check":"ccNotShopMember","message":"不是本店一卡通会员！","MemberCode":"1A2B3C4D"})"},
        {"sector 0 check byte", [](SampleCard& c) { c.Sector0()[31] ^= 1; },
         R"({"check":"ccSector0Crc","message":"0015数据错误！","MemberCode":"1A2B3C4D"})"},
        {"other scheme",
         [](SampleCard& c) {
             c.Sector2()[43] = 101;
             c.Seal();
         },
         R"({"check":"ccNotSchemeCard","message":"不是岳泓会员一卡通发出数据！","MemberCode":"1A2B3C4D",)"
         R"("CerNO":"110101198507150011","MemberName":"张三","CerType":2,"MemberSex":1})"},
        {"sector 4 check byte", [](SampleCard& c) { c.Sector4()[47] ^= 1; },
         R"({"check":"ccSector4Crc","message":"0020数据错误！","MemberCode":"1A2B3C4D",)"
         R"("CerNO":"110101198507150011","MemberName":"张三","CerType":2,"MemberSex":1,)"
         R"("CerNewAddr":"北京市海淀区","MobilePhone":"013800138000","MemBirthday":"1985-07-15",)"
         R"("MemberAge":39})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SampleCard card = GoodSampleCard();
        c.spoil(card);
        const Outcome outcome = Run({"decode", WriteDump(card).string(), "--today", "2024-07-14"});
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.out, c.json + "\n");
    }
}

TEST_F(DecodeCommandTest, BirthdayThatIsNoDateGivesNullAge) {
    SampleCard card = GoodSampleCard();
    std::fill(card.Sector4().begin() + 42, card.Sector4().begin() + 46, 0);
    card.Seal();
    const Outcome outcome = Run({"decode", WriteDump(card).string(), "--today", "2024-07-14"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_NE(outcome.out.find(R"("MemBirthday":"0000-00-00","MemberAge":null,)"),
              std::string::npos)
        << outcome.out;
}

TEST_F(DecodeCommandTest, AgeIsReckonedFromTheLocalDateByDefault) {
    const Outcome outcome = Run({"decode", WriteDump(GoodSampleCard()).string()});
    const int age = AgeFromBirthday("1985-07-15", LocalToday());
    EXPECT_NE(outcome.out.find("\"MemberAge\":" + std::to_string(age) + ","), std::string::npos)
        << outcome.out;
}

TEST_F(DecodeCommandTest, CardTextIsEscapedForJson) {
    SampleCard card = GoodSampleCard();
    const std::string name =
        "a\"b\\c\x01\x1F"
        "d";
    std::fill(card.Sector2().begin() + 20, card.Sector2().begin() + 40, 0);
    std::copy(name.begin(), name.end(), card.Sector2().begin() + 20);
    card.Seal();
    const Outcome outcome = Run({"decode", WriteDump(card).string(), "--today", "2024-07-14"});
    EXPECT_NE(outcome.out.find(R"("MemberName":"a\"b\\c\u0001\u001Fd")"), std::string::npos)
        << outcome.out;
}

TEST_F(DecodeCommandTest, BadInputGetsOneLineOnStderrAndExitTwo) {
    const std::string dump = WriteDump(GoodSampleCard()).string();
    const struct {
        std::vector<std::string> args;
        const char* named;  // what the message must mention
    } cases[] = {
        {{"decode", (folder_ / "absent.mfd").string()}, "absent.mfd"},
        {{"decode", WriteFile("short.mfd", std::string(1023, '\0')).string()}, "1023"},
        {{"decode", WriteFile("long.mfd", std::string(1025, '\0')).string()}, "1025"},
        {{"decode", WriteFile("empty.mfd", "").string()}, "empty.mfd"},
        {{"decode", folder_.string()}, folder_.c_str()},
        {{"decode"}, "usage"},
        {{"decode", dump, "--today"}, "--today"},
        {{"decode", dump, "--today", "2024-13-01"}, "2024-13-01"},
        {{"decode", dump, "--today", "today"}, "today"},
        {{"decode", dump, dump}, "unexpected"},
        {{"decode", dump, "--verbose"}, "--verbose"},
        {{}, "usage"},
        {{"frobnicate"}, "frobnicate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        const Outcome outcome = Run(c.args);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(c.named), std::string::npos) << outcome.err;
        if (!c.args.empty() && c.args[0] == "decode") {
            EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        }
    }
}

}  // namespace
}  // namespace kx::test
