#pragma once
// A raw MIFARE Classic 1K dump (64 blocks of 16 bytes, block 0 first) and the member card image
// a read of that card would give.

#include <array>
#include <cstddef>
#include <cstdint>

#include "card/MemberCard.h"

namespace kx {

inline constexpr std::size_t kCardBlockSize = 16;
inline constexpr std::size_t kCardDumpSize = 64 * kCardBlockSize;

using CardDump = std::array<uint8_t, kCardDumpSize>;

// Sectors 0, 2, 4 and the value blocks 12-14 as ReadMemberCard takes them; Serial is UID bytes
// 0-3 of block 0 as a little-endian number, as the readers report it.
TMemberCardImage MemberCardImageFromDump(const CardDump& dump);

}  // namespace kx
