#pragma once
// A member card that passes every check, as a 1K dump, for the decode tests and kxcard's.

#include <cstdint>
#include <span>

#include "card/CardDump.h"

namespace kx::test {

struct SampleCard {
    CardDump dump{};

    std::span<uint8_t, 32> Sector0() { return std::span<uint8_t, 32>(dump.data() + 16, 32); }
    std::span<uint8_t, 48> Sector2() { return std::span<uint8_t, 48>(dump.data() + 128, 48); }
    std::span<uint8_t, 48> Sector4() { return std::span<uint8_t, 48>(dump.data() + 256, 48); }
    void SetValue(int block, uint32_t value);

    // Sets the three check bytes to match the data, as an issuer would.
    void Seal();
};

// Serial 1A2B3C4D; CerNO "110101198507150011", MemberName "张三", CerType 2, MemberSex 1,
// CerNewAddr "北京市海淀区", MobilePhone "013800138000", MemBirthday "1985-07-15",
// StoreMoney 12345, MemberPoints 678.
SampleCard GoodSampleCard();

}  // namespace kx::test
