#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SampleCard.h"
#include "card/CardDump.h"
#include "card/MemberCard.h"

namespace kx::test {
namespace {

TEST(CardCrc8Test, MatchesTheCatalogueAndTheKnownSectors) {
    const std::string catalogue = "123456789";
    EXPECT_EQ(CardCrc8(reinterpret_cast<const uint8_t*>(catalogue.data()), catalogue.size()), 0x97);

    uint8_t sector0[31] = {0x00, 0x08};
    sector0[8] = 0x6F;
    EXPECT_EQ(CardCrc8(sector0, sizeof sector0), 0x42);

    uint8_t sector2[47] = {};
    sector2[43] = 0x64;
    sector2[44] = 0x99;
    sector2[45] = 0x99;
    EXPECT_EQ(CardCrc8(sector2, sizeof sector2), 0xE3);
}

// A record where every field still shows what an earlier card left.
TMemberRecord EarlierRecord() {
    return {"OLD", "OLD", "OLD", 9, 9, "OLD", "OLD", "OLD", 99, 99};
}

TMemberRecord GoodRecord() {
    return {"1A2B3C4D",     "110101198507150011", "张三",       2,   1,
            "北京市海淀区", "013800138000",       "1985-07-15", 678, 12345};
}

TCardCheck Decode(const SampleCard& card, TMemberRecord& record) {
    return DecodeMemberCard(MemberCardImageFromDump(card.dump), kExpectedSchemeCode, record);
}

TEST(DecodeMemberCardTest, GoodCardGivesEveryField) {
    TMemberRecord record = EarlierRecord();
    EXPECT_EQ(Decode(GoodSampleCard(), record), TCardCheck::ccOk);
    const TMemberRecord good = GoodRecord();
    EXPECT_EQ(record.MemberCode, good.MemberCode);
    EXPECT_EQ(record.CerNO, good.CerNO);
    EXPECT_EQ(record.MemberName, good.MemberName);
    EXPECT_EQ(record.CerType, good.CerType);
    EXPECT_EQ(record.MemberSex, good.MemberSex);
    EXPECT_EQ(record.CerNewAddr, good.CerNewAddr);
    EXPECT_EQ(record.MobilePhone, good.MobilePhone);
    EXPECT_EQ(record.MemBirthday, good.MemBirthday);
    EXPECT_EQ(record.MemberPoints, good.MemberPoints);
    EXPECT_EQ(record.StoreMoney, good.StoreMoney);
}

// How far a decode got: each group of fields is decoded after the checks before it.
enum class Reached { code, personal, address, all };

struct CheckCase {
    const char* name;
    std::function<void(SampleCard&)> spoil;
    bool reseal;  // the issuer wrote consistent check bytes over the spoiled data
    TCardCheck check;
    Reached reached;
};

TEST(DecodeMemberCardTest, EachCheckStopsTheDecodeWhereItStands) {
    const std::vector<CheckCase> cases{
        {"marker bytes swapped", [](SampleCard& c) { std::swap(c.Sector0()[0], c.Sector0()[1]); },
         true, TCardCheck::ccNotShopMember, Reached::code},
        {"marker 0x4F", [](SampleCard& c) { c.Sector0()[8] = 0x4F; }, true,
         TCardCheck::ccNotShopMember, Reached::code},
        {"sector 0 check byte", [](SampleCard& c) { c.Sector0()[31] ^= 1; }, false,
         TCardCheck::ccSector0Crc, Reached::code},
        {"sector 0 unused byte", [](SampleCard& c) { c.Sector0()[20] = 1; }, false,
         TCardCheck::ccSector0Crc, Reached::code},
        {"sector 0 checked before the scheme",
         [](SampleCard& c) {
             c.Sector0()[31] ^= 1;
             c.Sector2()[43] = 101;
         },
         false, TCardCheck::ccSector0Crc, Reached::code},
        {"scheme 101", [](SampleCard& c) { c.Sector2()[43] = 101; }, true,
         TCardCheck::ccNotSchemeCard, Reached::personal},
        {"issuer 99 98", [](SampleCard& c) { c.Sector2()[45] = 0x98; }, true,
         TCardCheck::ccIssuerCode, Reached::personal},
        {"issuer 98 99", [](SampleCard& c) { c.Sector2()[44] = 0x98; }, true,
         TCardCheck::ccIssuerCode, Reached::personal},
        {"sector 2 check byte", [](SampleCard& c) { c.Sector2()[47] ^= 0x80; }, false,
         TCardCheck::ccSector2Crc, Reached::personal},
        {"sector 4 check byte", [](SampleCard& c) { c.Sector4()[47] ^= 1; }, false,
         TCardCheck::ccSector4Crc, Reached::address},
        {"sector 4 data", [](SampleCard& c) { c.Sector4()[46] = 7; }, false,
         TCardCheck::ccSector4Crc, Reached::address},
    };
    const TMemberRecord good = GoodRecord();
    const TMemberRecord earlier = EarlierRecord();
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        SampleCard card = GoodSampleCard();
        c.spoil(card);
        if (c.reseal) {
            card.Seal();
        }
        TMemberRecord record = EarlierRecord();
        const TCardCheck check = Decode(card, record);
        EXPECT_EQ(CardCheckName(check), std::string(CardCheckName(c.check)));

        const bool personal = c.reached >= Reached::personal;
        const bool address = c.reached >= Reached::address;
        const bool values = c.reached == Reached::all;
        EXPECT_EQ(ReachedSector2Fields(check), personal);
        EXPECT_EQ(ReachedSector4Fields(check), address);
        EXPECT_EQ(ReachedValueFields(check), values);

        const TMemberRecord& personalFrom = personal ? good : earlier;
        const TMemberRecord& addressFrom = address ? good : earlier;
        const TMemberRecord& valuesFrom = values ? good : earlier;
        EXPECT_EQ(record.MemberCode, good.MemberCode);
        EXPECT_EQ(record.CerNO, personalFrom.CerNO);
        EXPECT_EQ(record.MemberName, personalFrom.MemberName);
        EXPECT_EQ(record.CerType, personalFrom.CerType);
        EXPECT_EQ(record.MemberSex, personalFrom.MemberSex);
        EXPECT_EQ(record.CerNewAddr, addressFrom.CerNewAddr);
        EXPECT_EQ(record.MobilePhone, addressFrom.MobilePhone);
        EXPECT_EQ(record.MemBirthday, addressFrom.MemBirthday);
        EXPECT_EQ(record.MemberPoints, valuesFrom.MemberPoints);
        EXPECT_EQ(record.StoreMoney, valuesFrom.StoreMoney);
    }
}

TEST(DecodeMemberCardTest, CheckMessagesAreTheWindowTexts) {
    EXPECT_STREQ(CardCheckMessage(TCardCheck::ccSector4Crc), "0020数据错误！");
    EXPECT_STREQ(CardCheckMessage(TCardCheck::ccOk), "读取会员数据成功！");
    EXPECT_STREQ(kReadFailedMessage, "读卡失败，请确认是否正确放卡！");
}

TEST(DecodeMemberCardTest, CardTextIsTrimmedCutAtZeroAndDecodedFromGbk) {
    const struct {
        std::string bytes;  // the 20-byte name field, zero-padded
        std::string text;
    } cases[] = {
        {"\xD5\xC5\xC8\xFD", "张三"},
        {"  \xD5\xC5\xC8\xFD      ", "张三"},
        {"\t\r\n\x01\xD5\xC5\xC8\xFD\x1F\x20", "张三"},
        {"Li Si", "Li Si"},
        {std::string("AB\0CD", 5), "AB"},
        {"                    ", ""},
        {"", ""},
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRST"},
        {"\xFF"
         "A\xD5",
         "\xEF\xBF\xBD"
         "A\xEF\xBF\xBD"},  // not GBK: still decodes
        {"a\"b\\c", "a\"b\\c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SampleCard card = GoodSampleCard();
        std::fill(card.Sector2().begin() + 20, card.Sector2().begin() + 40, 0);
        std::copy(c.bytes.begin(), c.bytes.end(), card.Sector2().begin() + 20);
        card.Seal();
        TMemberRecord record;
        ASSERT_EQ(Decode(card, record), TCardCheck::ccOk);
        EXPECT_EQ(record.MemberName, c.text);
        EXPECT_EQ(record.CerNO, "110101198507150011");
    }
}

TEST(DecodeMemberCardTest, AddressUsesAllThirtyFourBytes) {
    SampleCard card = GoodSampleCard();
    const std::string address(34, 'A');
    std::copy(address.begin(), address.end(), card.Sector4().begin());
    card.Seal();
    TMemberRecord record;
    ASSERT_EQ(Decode(card, record), TCardCheck::ccOk);
    EXPECT_EQ(record.CerNewAddr, address);
    EXPECT_EQ(record.MobilePhone, "013800138000");
}

TEST(DecodeMemberCardTest, PhoneKeepsOneLeadingZero) {
    const struct {
        std::array<uint8_t, 8> bytes;
        const char* text;
    } cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, ""},
        {{0, 0, 0, 0, 0, 0, 0, 0x12}, "012"},
        {{0, 0, 0, 0, 0, 0, 0x01, 0x00}, "0100"},
        {{0, 0, 0, 0, 0, 0, 0, 0x01}, "01"},
        {{0x01, 0x38, 0, 0x13, 0x80, 0, 0, 0}, "0138001380000000"},
        {{0x10, 0, 0, 0, 0, 0, 0, 0}, "1000000000000000"},
        {{0x13, 0x80, 0x01, 0x38, 0x00, 0x00, 0x00, 0x00}, "1380013800000000"},
        {{0, 0, 0, 0xAB, 0xCD, 0xEF, 0, 0}, "0ABCDEF0000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SampleCard card = GoodSampleCard();
        std::copy(c.bytes.begin(), c.bytes.end(), card.Sector4().begin() + 34);
        card.Seal();
        TMemberRecord record;
        ASSERT_EQ(Decode(card, record), TCardCheck::ccOk);
        EXPECT_EQ(record.MobilePhone, c.text);
    }
}

TEST(DecodeMemberCardTest, BirthdayCodeAndValuesAreShownAsStored) {
    const struct {
        std::array<uint8_t, 4> birthday;
        const char* text;
        uint32_t serial;
        const char* code;
        uint32_t money;
    } cases[] = {
        {{0x19, 0x85, 0x07, 0x15}, "1985-07-15", 0xABCD, "0000ABCD", 0},
        {{0x00, 0x00, 0x00, 0x00}, "0000-00-00", 0xDEADBEEF, "DEADBEEF", 0xFFFFFFFF},
        {{0x19, 0xAB, 0x01, 0x01}, "19AB-01-01", 0, "00000000", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SampleCard card = GoodSampleCard();
        std::copy(c.birthday.begin(), c.birthday.end(), card.Sector4().begin() + 42);
        for (int i = 0; i < 4; ++i) {
            card.dump[i] = static_cast<uint8_t>(c.serial >> (8 * i));
        }
        card.SetValue(12, c.money);
        card.Seal();
        TMemberRecord record;
        ASSERT_EQ(Decode(card, record), TCardCheck::ccOk);
        EXPECT_EQ(record.MemBirthday, c.text);
        EXPECT_EQ(record.MemberCode, c.code);
        EXPECT_EQ(record.StoreMoney, c.money);
        EXPECT_EQ(record.MemberPoints, 678u);
    }
}

TEST(AgeFromBirthdayTest, CountsWhole365DayPeriods) {
    const struct {
        const char* birthday;
        CivilDate today;
        int age;
    } cases[] = {
        {"1985-07-15", {2024, 7, 14}, 39},  // 14244 days: 365-day periods, not years
        {"2000-03-01", {2024, 2, 24}, 24},  // 8760 days
        {"2000-03-01", {2024, 2, 23}, 23},
        {"2024-02-29", {2024, 2, 29}, 0},
        {"1900-03-01", {2024, 1, 1}, 123},   // 45231 days; 1900 was no leap year
        {"0001-01-01", {2024, 1, 1}, 2024},  // 738885 days
        // Birthdays still ahead: truncated toward zero.
        {"2024-12-30", {2024, 1, 1}, 0},   // 364 days ahead
        {"2024-12-31", {2024, 1, 1}, -1},  // 365
        {"2025-12-30", {2024, 1, 1}, -1},  // 729
        {"2025-12-31", {2024, 1, 1}, -2},  // 730
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AgeFromBirthday(c.birthday, c.today), c.age) << c.birthday;
    }
}

TEST(AgeFromBirthdayTest, BirthdayThatIsNoDateFailsNamingIt) {
    for (const char* birthday :
         {"0000-00-00", "1985-13-01", "1985-00-10", "1985-07-00", "19AB-01-01", "2023-02-29",
          "1900-02-29", "2024-02-30", "1985-04-31", "0000-01-01", "1985-7-15", "1985/07/15",
          "1985-07-15 ", ""}) {
        try {
            AgeFromBirthday(birthday, {2024, 1, 1});
            ADD_FAILURE() << "no error for '" << birthday << "'";
        } catch (const DateError& error) {
            EXPECT_EQ(error.what(), "'" + std::string(birthday) + "' is not a valid date.");
        }
    }
}

TEST(LocalTodayTest, IsACalendarDate) {
    const CivilDate today = LocalToday();
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", today.year, today.month, today.day);
    EXPECT_EQ(AgeFromBirthday(text, today), 0);
}

}  // namespace
}  // namespace kx::test
