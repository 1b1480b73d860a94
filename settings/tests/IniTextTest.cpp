#include "settings/IniText.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

using std::string_literals::operator""s;

TEST(IniTextFind, MatchesNamesAndTrimsValuesLikePrivateProfiles) {
    struct Case {
        const char* what;
        std::string text;
        std::string section;
        std::string key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"letter case and blanks of names", "[ kxNETdevice ]\r\n  kxdcomm\t= 2 \r\n", "KXNetDevice",
         "KXDCOMM ", "2"},
        {"identifier with a trailing blank", "[KXNetDevice]\nWinY=180\n", "KXNetDevice", "WinY ",
         "180"},
        {"enclosing double quotes dropped", "[S]\nk= \" a b \" \n", "S", "k", " a b "},
        {"enclosing single quotes dropped", "[S]\nk='x'\n", "S", "k", "x"},
        {"mismatched quotes kept", "[S]\nk=\"x'\n", "S", "k", "\"x'"},
        {"a lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
        {"quotes inside kept", "[S]\nk=a\"b\"\n", "S", "k", "a\"b\""},
        {"present and empty is empty text", "[S]\nk=\n", "S", "k", ""},
        {"blanks only is empty text", "[S]\nk= \t \n", "S", "k", ""},
        {"split at the first equals sign", "[S]\nk=a=b\n", "S", "k", "a=b"},
        {"CRLF is no part of the value", "[S]\r\nk=v\r\n", "S", "k", "v"},
        {"last line without a line end", "[S]\nk=v", "S", "k", "v"},
        {"missing key", "[S]\nother=1\n", "S", "k", std::nullopt},
        {"missing section", "[T]\nk=1\n", "S", "k", std::nullopt},
        {"key before any section", "k=1\n[S]\n", "S", "k", std::nullopt},
        {"key of the previous section", "[S]\n[T]\nk=1\n", "S", "k", std::nullopt},
        {"comment lines never match", "[S]\n;k=1\n#k=2\n", "S", ";k", std::nullopt},
        {"a commented key does not hide the real one", "[S]\n; k=1\n# k=2\nk=3\n", "S", "k", "3"},
        {"first of two keys wins", "[S]\nk=1\nk=2\n", "S", "k", "1"},
        {"a second section of the same name is searched", "[S]\na=1\n[T]\n[s]\nk=2\n", "S", "k",
         "2"},
        {"line without an equals sign is no key", "[S]\nk\n", "S", "k", std::nullopt},
        {"bracket without its close is no header", "[S]\n[T\nk=1\n", "S", "k", "1"},
        {"text after the close is ignored", "[S] ; note\nk=1\n", "S", "k", "1"},
        {"empty file", "", "S", "k", std::nullopt},
        // GBK trail bytes may equal ']' or a letter: 乚 is 81 5D, 丄 is 81 41, 乤 is 81 61.
        {"']' as a trail byte stays in the name", "[\x81\x5D]\nk=1\n", "\x81\x5D", "k", "1"},
        {"letter case is not folded in trail bytes", "[S]\n\x81\x61=1\n", "S", "\x81\x41",
         std::nullopt},
        {"GBK value bytes come as they are", "[S]\nk=\xD5\xC5\xC8\xFD\n", "S", "k",
         "\xD5\xC5\xC8\xFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IniText(c.text).Find(c.section, c.key), c.value) << c.what;
    }
}

TEST(IniTextFind, CutsLongValuesAtWholeCharacters) {
    const std::string full(kMaxProfileValueBytes, 'a');
    struct Case {
        const char* what;
        std::string value;
        std::string expected;
    };
    const Case cases[] = {
        {"longer than the limit", std::string(3000, 'a'), full},
        {"quotes dropped before the cut", "\"" + full + "\"", full},
        {"a double-byte character across the limit is left out",
         std::string(kMaxProfileValueBytes - 1, 'a') + "\xD5\xC5", full.substr(1)},
        {"a double-byte character up to the limit is kept",
         std::string(kMaxProfileValueBytes - 2, 'a') + "\xD5\xC5",
         std::string(kMaxProfileValueBytes - 2, 'a') + "\xD5\xC5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IniText("[S]\r\nk=" + c.value + "\r\n").Find("S", "k"), c.expected) << c.what;
    }
}

TEST(IniTextSet, ChangesOneLineAndKeepsEveryOtherByte) {
    struct Case {
        const char* what;
        std::string before;
        std::string section;
        std::string key;
        std::string after;
    };
    const Case cases[] = {
        {"value replaced in place, CRLF kept", "; c\r\n[KXNetDevice]\r\nKXDCOMM=2\r\nWinX=1\r\n",
         "KXNetDevice", "KXDCOMM ", "; c\r\n[KXNetDevice]\r\nKXDCOMM=7\r\nWinX=1\r\n"},
        {"the file's spelling of the key stays, blanks and quotes go",
         "[s]\n  kxdcomm = \"2\" \nx=1\n", "S", "KXDCOMM ", "[s]\nkxdcomm=7\nx=1\n"},
        {"last line without a line end replaced", "[S]\nk=1", "S", "k", "[S]\nk=7"},
        {"new key after the last key line, before blanks and comments",
         "[A]\nk=1\n\n; B follows\n[B]\n", "A", "n", "[A]\nk=1\nn=7\n\n; B follows\n[B]\n"},
        {"new key right after the header of a section without keys", "[A]\n; note\n\n[B]\n", "A",
         "n", "[A]\nn=7\n; note\n\n[B]\n"},
        {"new key after a last line without a line end", "[A]\r\nk=1", "A", "n",
         "[A]\r\nk=1\r\nn=7"},
        {"new section at the end with the file's line ends", "[A]\r\nk=1\r\n", "B", "n",
         "[A]\r\nk=1\r\n[B]\r\nn=7\r\n"},
        {"new section after a last line without a line end", "[A]\nk=1", "B", "n",
         "[A]\nk=1\n[B]\nn=7"},
        {"empty file gets CRLF", "", "B", "n", "[B]\r\nn=7\r\n"},
        {"names written without surrounding blanks", "", " B ", " KXDCOMM ",
         "[B]\r\nKXDCOMM=7\r\n"},
        {"new key goes to the first of two same-named sections", "[A]\nx=1\n[B]\n[a]\ny=1\n", "A",
         "n", "[A]\nx=1\nn=7\n[B]\n[a]\ny=1\n"},
        {"the key found in a second same-named section is the one replaced", "[A]\nx=1\n[a]\nk=1\n",
         "A", "k", "[A]\nx=1\n[a]\nk=7\n"},
        {"a key before any section is not the section's", "k=1\n[A]\n", "A", "k",
         "k=1\n[A]\nk=7\n"},
        {"only the first of two keys changes", "[A]\nk=1\nk=2\n", "A", "k", "[A]\nk=7\nk=2\n"},
    };
    for (const auto& c : cases) {
        IniText text(c.before);
        ASSERT_TRUE(text.Set(c.section, c.key, "7")) << c.what;
        EXPECT_EQ(text.bytes(), c.after) << c.what;
        EXPECT_EQ(text.Find(c.section, c.key), "7") << c.what;
    }
}

TEST(IniTextSet, RefusesWhatWouldNotReadBackAsOneKey) {
    struct Case {
        const char* what;
        std::string section;
        std::string key;
        std::string value;
    };
    const Case cases[] = {
        {"line feed in the value", "S", "k", "a\nb"},
        {"carriage return in the value", "S", "k", "a\r"},
        {"line break in a name", "S\n[T]", "k", "1"},
        {"equals sign in the key", "S", "k=1", "1"},
        {"closing bracket in the section", "S]", "k", "1"},
        {"key read as a comment", "S", ";k", "1"},
        {"key read as a comment", "S", "#k", "1"},
        {"key read as a section", "S", "[k", "1"},
        {"key ending in a lone lead byte would swallow the '='", "S", "k\x81", "1"},
        {"section ending in a lone lead byte would swallow the ']'", "S\x81", "k", "1"},
    };
    const std::string before = "[S]\r\nk=0\r\n";
    for (const auto& c : cases) {
        IniText text(before);
        EXPECT_FALSE(text.Set(c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(text.bytes(), before) << c.what;
    }
}

TEST(ParseProfileInteger, HexWithPrefixDecimalOtherwiseWithin32Bits) {
    struct Case {
        std::string text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"007", 7},
        {"+5", 5},
        {"-7", -7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"0x3", 3},
        {"0X1f", 31},
        {"0x0000000010", 16},
        {"0x7FFFFFFF", 2147483647},
        {"0x80000000", std::nullopt},  // not a 32-bit signed integer, though it fits the bits
        {"0x", std::nullopt},          // two characters: decimal, and not a number
        {"0x1G", std::nullopt},
        {"0xZZ", std::nullopt},
        {"0x-1", std::nullopt},
        {"0x+1", std::nullopt},
        {"-0x10", std::nullopt},  // the prefix counts only at the start
        {"+0x10", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+-5", std::nullopt},
        {"--5", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
        {" 5", std::nullopt},  // values arrive trimmed; inner text is not trimmed again
        {"1e3", std::nullopt},
        {"1.0", std::nullopt},
        {"\xEF\xBC\x95", std::nullopt},  // a full-width digit
        {"5\0"s, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseProfileInteger(c.text), c.value) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace kx
