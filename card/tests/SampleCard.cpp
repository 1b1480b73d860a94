#include "SampleCard.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "card/MemberCard.h"

namespace kx::test {

void SampleCard::SetValue(int block, uint32_t value) {
    const uint32_t inverted = ~value;
    uint8_t* bytes = dump.data() + block * kCardBlockSize;
    std::memcpy(bytes, &value, 4);
    std::memcpy(bytes + 4, &inverted, 4);
    std::memcpy(bytes + 8, &value, 4);
}

void SampleCard::Seal() {
    Sector0()[31] = CardCrc8(Sector0().data(), 31);
    Sector2()[47] = CardCrc8(Sector2().data(), 47);
    Sector4()[47] = CardCrc8(Sector4().data(), 47);
}

namespace {

void Put(std::span<uint8_t> field, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), field.begin());
}

void Put(std::span<uint8_t> field, std::string_view text) {
    std::copy(text.begin(), text.end(), field.begin());
}

}  // namespace

SampleCard GoodSampleCard() {
    SampleCard card;
    Put(card.dump, {0x4D, 0x3C, 0x2B, 0x1A});
    Put(card.Sector0(), {0x00, 0x08});
    card.Sector0()[8] = 0x6F;
    Put(card.Sector2(), "110101198507150011");
    Put(card.Sector2().subspan(20), "\xD5\xC5\xC8\xFD");  // 张三 in GBK
    Put(card.Sector2().subspan(40), {2, 1, 0, kExpectedSchemeCode, 0x99, 0x99});
    Put(card.Sector4(), "\xB1\xB1\xBE\xA9\xCA\xD0\xBA\xA3\xB5\xED\xC7\xF8");  // 北京市海淀区
    Put(card.Sector4().subspan(34), {0x00, 0x00, 0x01, 0x38, 0x00, 0x13, 0x80, 0x00});
    Put(card.Sector4().subspan(42), {0x19, 0x85, 0x07, 0x15});
    card.SetValue(12, 12345);
    card.SetValue(13, 678);
    card.Seal();
    return card;
}

}  // namespace kx::test
