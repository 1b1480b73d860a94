#pragma once
// What one read of the information terminal changes on screen, worked out without widgets:
// the fields the decode reached, in display order, and the message line. A field left empty
// keeps what its control showed before, which may belong to the previous card.

#include <cstdint>
#include <optional>
#include <string>

#include "card/MemberCard.h"

namespace kx {

struct CardReadDisplay {
    std::optional<std::string> message;
    std::optional<std::string> memberCode;  // 8 uppercase hexadecimal digits of the serial
    std::optional<std::string> cerNO;
    std::optional<std::string> memberName;
    std::optional<int> cerTypeIndex;  // item of the document type list; -1: no selection
    std::optional<int> sexIndex;      // item of the sex list; -1: no selection
    std::optional<std::string> address;
    std::optional<std::string> mobilePhone;
    std::optional<std::string> birthday;
    std::optional<std::string> age;
    std::optional<std::string> points;
    std::optional<uint32_t> storeMoneyCents;
    // Set when the birthday is not a date: the read ends after the birthday with this error,
    // and the message line keeps its text.
    std::optional<std::string> invalidBirthdayError;
};

inline constexpr int kCerTypeCount = 6;  // "身份证" ... "其他"
inline constexpr int kSexCount = 2;      // 1 "男", 2 "女"

// readResult is what ReadMemberCard returned; image is only looked at when it is 0.
CardReadDisplay DisplayOfCardRead(int readResult, const TMemberCardImage& image,
                                  uint8_t expectedScheme, CivilDate today);

}  // namespace kx
