#include "gbk/Gbk.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(Gbk, RoundTripsAsciiAndChinese) {
    for (const std::string utf8 : {"", "abc 123", "张三", "北京市朝阳区建国路1号"}) {
        const auto gbk = Utf8ToGbk(utf8);
        ASSERT_TRUE(gbk.has_value()) << utf8;
        EXPECT_EQ(GbkToUtf8(*gbk), utf8);
    }
    EXPECT_EQ(*Utf8ToGbk("张三"), "\xD5\xC5\xC8\xFD");
}

TEST(Gbk, BadBytesBecomeReplacementCharacters) {
    struct Case {
        std::string gbk;
        std::string utf8;
    };
    const Case cases[] = {
        {"\xFF", "\xEF\xBF\xBD"},                      // never a lead byte
        {"A\x81 Z", "A\xEF\xBF\xBD Z"},                // lead byte, blank trail
        {"\xD5", "\xEF\xBF\xBD"},                      // lead byte at the end
        {"\xD5\xC5\xFF\xC8\xFD", "张\xEF\xBF\xBD三"},  // the bad byte costs only itself
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
    }
}

TEST(Gbk, RefusesWhatGbkCannotHold) {
    EXPECT_FALSE(Utf8ToGbk("\xF0\x9F\x98\x80").has_value());  // an emoji
    EXPECT_FALSE(Utf8ToGbk("\xC3").has_value());              // truncated UTF-8
}

}  // namespace
}  // namespace kx
