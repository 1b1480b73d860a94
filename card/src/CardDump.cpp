#include "card/CardDump.h"

#include <algorithm>

namespace kx {

namespace {

uint32_t LittleEndian32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

TMemberCardImage MemberCardImageFromDump(const CardDump& dump) {
    const auto block = [&dump](std::size_t number) {
        return dump.data() + number * kCardBlockSize;
    };
    TMemberCardImage image;
    // Each sector's data blocks lie together, before the sector trailer.
    std::copy_n(block(1), image.Sector0.size(), image.Sector0.begin());
    std::copy_n(block(8), image.Sector2.size(), image.Sector2.begin());
    std::copy_n(block(16), image.Sector4.size(), image.Sector4.begin());
    for (std::size_t i = 0; i < image.Values.size(); ++i) {
        image.Values[i] = LittleEndian32(block(12 + i));  // value blocks keep the value first
    }
    image.Serial = LittleEndian32(block(0));
    return image;
}

}  // namespace kx
