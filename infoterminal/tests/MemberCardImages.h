#pragma once
// Card images for the tests: a member's record laid out as on the card, optionally spoilt so
// that the decode stops at a chosen check.

#include <cstdint>
#include <string>

#include "card/MemberCard.h"

namespace kx::testing {

struct TestMember {
    uint32_t serial = 0x1A2B3C4D;
    std::string cerNO = "110101200001011234";
    std::string name = "张三";
    uint8_t cerType = 0;
    uint8_t sex = 1;
    std::string address = "北京市东城区";
    std::string phoneDigits = "0000013812345678";  // 16 digits, packed two to a byte
    std::string birthday = "20000101";             // YYYYMMDD, packed two digits to a byte
    uint32_t points = 100;
    uint32_t cents = 12345;
};

// An image that decodes to member with result failAt (ccOk: a sound card).
TMemberCardImage MemberCardImage(const TestMember& member, TCardCheck failAt = TCardCheck::ccOk);

}  // namespace kx::testing
