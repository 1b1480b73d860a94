#pragma once
// The member card image, its decoded record, the checks with their messages, and the age rule.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kx {

struct TMemberCardImage {
    std::array<uint8_t, 32> Sector0{};  // blocks 1, 2
    std::array<uint8_t, 48> Sector2{};  // blocks 8, 9, 10
    std::array<uint8_t, 48> Sector4{};  // blocks 16, 17, 18
    std::array<uint32_t, 3> Values{};   // value blocks 12, 13, 14
    uint32_t Serial = 0;
};

// Text fields are UTF-8.
struct TMemberRecord {
    std::string MemberCode;
    std::string CerNO;
    std::string MemberName;
    uint8_t CerType = 0;
    uint8_t MemberSex = 0;
    std::string CerNewAddr;
    std::string MobilePhone;
    std::string MemBirthday;
    uint32_t MemberPoints = 0;
    uint32_t StoreMoney = 0;  // cents
};

enum class TCardCheck {
    ccOk,
    ccNotShopMember,
    ccSector0Crc,
    ccNotSchemeCard,
    ccIssuerCode,
    ccSector2Crc,
    ccSector4Crc,
};

inline constexpr uint8_t kExpectedSchemeCode = 100;

// Message line text when the read transaction itself failed (UTF-8).
extern const char* const kReadFailedMessage;
// Message line text of a check (UTF-8), and its name ("ccOk", ...).
const char* CardCheckMessage(TCardCheck check);
const char* CardCheckName(TCardCheck check);

// Which fields a decode that ended with this result reached.
bool ReachedSector2Fields(TCardCheck check);  // CerNO, MemberName, CerType, MemberSex
bool ReachedSector4Fields(TCardCheck check);  // CerNewAddr, MobilePhone, MemBirthday
bool ReachedValueFields(TCardCheck check);    // MemberPoints, StoreMoney

// CRC-8/TECH-3250 (poly 0x1D reflected, init 0xFF).
uint8_t CardCrc8(const uint8_t* bytes, std::size_t length);

// Stops at the first failing check; the fields decoded before it are filled in.
TCardCheck DecodeMemberCard(const TMemberCardImage& image, uint8_t expectedScheme,
                            TMemberRecord& record);

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};
CivilDate LocalToday();

// A proleptic Gregorian date written YYYY-MM-DD (year 0001 to 9999); nothing for any other text.
std::optional<CivilDate> ParseCivilDate(std::string_view text);

// A birthday that is not a calendar date; what() is "'<birthday>' is not a valid date."
class DateError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Whole 365-day periods from birthday (YYYY-MM-DD) to today, truncated toward zero.
int AgeFromBirthday(std::string_view birthday, CivilDate today);

}  // namespace kx
