#include "card/MemberCard.h"

#include <cstdio>
#include <ctime>
#include <iterator>
#include <span>

#include "gbk/Gbk.h"

namespace kx {

const char* const kReadFailedMessage = "读卡失败，请确认是否正确放卡！";

namespace {

struct CardCheckText {
    const char* name;
    const char* message;
};

// In the order of TCardCheck.
constexpr CardCheckText kCardCheckTexts[] = {
    {"ccOk", "读取会员数据成功！"},           {"ccNotShopMember", "不是本店一卡通会员！"},
    {"ccSector0Crc", "0015数据错误！"},       {"ccNotSchemeCard", "不是岳泓会员一卡通发出数据！"},
    {"ccIssuerCode", "发卡方编码数据错误！"}, {"ccSector2Crc", "0016数据错误！"},
    {"ccSector4Crc", "0020数据错误！"},
};
static_assert(std::size(kCardCheckTexts) == static_cast<std::size_t>(TCardCheck::ccSector4Crc) + 1);

}  // namespace

const char* CardCheckMessage(TCardCheck check) {
    return kCardCheckTexts[static_cast<std::size_t>(check)].message;
}

const char* CardCheckName(TCardCheck check) {
    return kCardCheckTexts[static_cast<std::size_t>(check)].name;
}

bool ReachedSector2Fields(TCardCheck check) {
    return check != TCardCheck::ccNotShopMember && check != TCardCheck::ccSector0Crc;
}

bool ReachedSector4Fields(TCardCheck check) {
    return check == TCardCheck::ccSector4Crc || check == TCardCheck::ccOk;
}

bool ReachedValueFields(TCardCheck check) {
    return check == TCardCheck::ccOk;
}

uint8_t CardCrc8(const uint8_t* bytes, std::size_t length) {
    uint8_t crc = 0xFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? static_cast<uint8_t>((crc >> 1) ^ 0xB8u)
                                  : static_cast<uint8_t>(crc >> 1);
        }
    }
    return crc;
}

namespace {

using Bytes = std::span<const uint8_t>;

// GBK text padded with zero bytes or spaces; padding never holds part of a GBK character.
std::string CardText(Bytes field) {
    const auto isPadding = [](uint8_t byte) { return byte <= 0x20; };
    std::size_t begin = 0;
    std::size_t end = field.size();
    while (begin < end && isPadding(field[begin])) {
        ++begin;
    }
    while (end > begin && isPadding(field[end - 1])) {
        --end;
    }
    std::string_view text(reinterpret_cast<const char*>(field.data() + begin), end - begin);
    return GbkToUtf8(text.substr(0, text.find('\0')));
}

// Two uppercase digits per byte, high nibble first: packed BCD shows as its digits.
std::string HexDigits(Bytes bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

// The digits keep exactly one leading zero; all zeros give no number.
std::string PhoneText(Bytes bytes) {
    const std::string digits = HexDigits(bytes);
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        return {};
    }
    return firstNonZero == 0 ? digits : digits.substr(firstNonZero - 1);
}

std::string BirthdayText(Bytes bytes) {
    return HexDigits(bytes.subspan(0, 2)) + "-" + HexDigits(bytes.subspan(2, 1)) + "-" +
           HexDigits(bytes.subspan(3, 1));
}

std::string SerialText(uint32_t serial) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(serial));
    return text;
}

bool CheckByteMatches(Bytes sector) {
    return CardCrc8(sector.data(), sector.size() - 1) == sector.back();
}

}  // namespace

TCardCheck DecodeMemberCard(const TMemberCardImage& image, uint8_t expectedScheme,
                            TMemberRecord& record) {
    const Bytes sector0(image.Sector0);
    const Bytes sector2(image.Sector2);
    const Bytes sector4(image.Sector4);

    record.MemberCode = SerialText(image.Serial);
    if (sector0[0] != 0x00 || sector0[1] != 0x08 || sector0[8] != 0x6F) {
        return TCardCheck::ccNotShopMember;
    }
    if (!CheckByteMatches(sector0)) {
        return TCardCheck::ccSector0Crc;
    }
    record.CerNO = CardText(sector2.subspan(0, 20));
    record.MemberName = CardText(sector2.subspan(20, 20));
    record.CerType = sector2[40];
    record.MemberSex = sector2[41];
    if (sector2[43] != expectedScheme) {
        return TCardCheck::ccNotSchemeCard;
    }
    if (sector2[44] != 0x99 || sector2[45] != 0x99) {
        return TCardCheck::ccIssuerCode;
    }
    if (!CheckByteMatches(sector2)) {
        return TCardCheck::ccSector2Crc;
    }
    record.CerNewAddr = CardText(sector4.subspan(0, 34));
    record.MobilePhone = PhoneText(sector4.subspan(34, 8));
    record.MemBirthday = BirthdayText(sector4.subspan(42, 4));
    if (!CheckByteMatches(sector4)) {
        return TCardCheck::ccSector4Crc;
    }
    record.MemberPoints = image.Values[1];
    record.StoreMoney = image.Values[0];
    return TCardCheck::ccOk;
}

CivilDate LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 in the proleptic Gregorian calendar.
long long DaysFromCivil(const CivilDate& date) {
    const long long year = date.month <= 2 ? date.year - 1 : date.year;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long monthFromMarch = date.month > 2 ? date.month - 3 : date.month + 9;
    const long long dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The number written by the decimal digits text[first, first + count), or -1.
int DecimalField(std::string_view text, std::size_t first, std::size_t count) {
    int value = 0;
    for (const char digit : text.substr(first, count)) {
        if (digit < '0' || digit > '9') {
            return -1;
        }
        value = value * 10 + (digit - '0');
    }
    return value;
}

}  // namespace

std::optional<CivilDate> ParseCivilDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const CivilDate date{DecimalField(text, 0, 4), DecimalField(text, 5, 2),
                         DecimalField(text, 8, 2)};
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month)) {
        return std::nullopt;
    }
    return date;
}

int AgeFromBirthday(std::string_view birthday, CivilDate today) {
    const auto birth = ParseCivilDate(birthday);
    if (!birth) {
        throw DateError("'" + std::string(birthday) + "' is not a valid date.");
    }
    // Integer division truncates toward zero, as the age rule asks for future birthdays too.
    return static_cast<int>((DaysFromCivil(today) - DaysFromCivil(*birth)) / 365);
}

}  // namespace kx
