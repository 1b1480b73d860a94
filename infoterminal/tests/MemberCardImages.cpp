#include "MemberCardImages.h"

#include <algorithm>
#include <optional>
#include <span>
#include <stdexcept>

#include "gbk/Gbk.h"

namespace kx::testing {

namespace {

void PutText(std::span<uint8_t> field, const std::string& utf8) {
    const std::optional<std::string> gbk = Utf8ToGbk(utf8);
    if (!gbk || gbk->size() > field.size()) {
        throw std::invalid_argument("text does not fit its card field: " + utf8);
    }
    std::copy(gbk->begin(), gbk->end(), field.begin());
}

void PutPackedDigits(std::span<uint8_t> field, const std::string& digits) {
    if (digits.size() != field.size() * 2) {
        throw std::invalid_argument("wrong number of digits: " + digits);
    }
    for (std::size_t i = 0; i < field.size(); ++i) {
        field[i] = static_cast<uint8_t>((digits[2 * i] - '0') << 4 | (digits[2 * i + 1] - '0'));
    }
}

template <std::size_t N>
void SealSector(std::array<uint8_t, N>& sector) {
    sector.back() = CardCrc8(sector.data(), N - 1);
}

}  // namespace

TMemberCardImage MemberCardImage(const TestMember& member, TCardCheck failAt) {
    TMemberCardImage image;
    image.Serial = member.serial;

    image.Sector0[0] = 0x00;
    image.Sector0[1] = 0x08;
    image.Sector0[8] = 0x6F;
    SealSector(image.Sector0);

    std::span<uint8_t> sector2(image.Sector2);
    PutText(sector2.subspan(0, 20), member.cerNO);
    PutText(sector2.subspan(20, 20), member.name);
    sector2[40] = member.cerType;
    sector2[41] = member.sex;
    sector2[43] = kExpectedSchemeCode;
    sector2[44] = 0x99;
    sector2[45] = 0x99;
    SealSector(image.Sector2);

    std::span<uint8_t> sector4(image.Sector4);
    PutText(sector4.subspan(0, 34), member.address);
    PutPackedDigits(sector4.subspan(34, 8), member.phoneDigits);
    PutPackedDigits(sector4.subspan(42, 4), member.birthday);
    SealSector(image.Sector4);

    image.Values = {member.cents, member.points, 0};

    switch (failAt) {
        case TCardCheck::ccOk:
            break;
        case TCardCheck::ccNotShopMember:
            image.Sector0[8] = 0x00;
            break;
        case TCardCheck::ccSector0Crc:
            image.Sector0.back() ^= 0xFF;
            break;
        case TCardCheck::ccNotSchemeCard:
            image.Sector2[43] = kExpectedSchemeCode + 1;
            break;
        case TCardCheck::ccIssuerCode:
            image.Sector2[45] = 0x98;
            break;
        case TCardCheck::ccSector2Crc:
            image.Sector2.back() ^= 0xFF;
            break;
        case TCardCheck::ccSector4Crc:
            image.Sector4.back() ^= 0xFF;
            break;
    }
    return image;
}

}  // namespace kx::testing
