#pragma once
// A MIFARE Classic 1K card as the reader sees it: the 1024 bytes of its dump, the sector it is
// authenticated for, and the access rules of its sector trailers.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "mifare/KeyMode.h"
#include "simreader/SimStatus.h"

namespace kx::sim {

inline constexpr std::size_t kCardSize = 1024;
inline constexpr int kBlockCount = 64;
inline constexpr int kSectorCount = 16;
inline constexpr int kBlockSize = 16;

using CardBytes = std::array<uint8_t, kCardSize>;
using Block = std::array<uint8_t, kBlockSize>;
using Key = std::array<uint8_t, 6>;

using mifare::KeyType;

// The data-block operations the access bits govern. Transfer shares its column with decrement.
enum class BlockOp { Read, Increment, DecrementTransfer };

constexpr int SectorOfBlock(int block) {
    return block / 4;
}
constexpr int TrailerOfSector(int sector) {
    return sector * 4 + 3;
}
constexpr bool IsTrailer(int block) {
    return block % 4 == 3;
}

// The access condition bits C1 C2 C3 of one block as 0bC1C2C3; nothing when the access bytes
// fail their inverse check (the sector is then unusable).
std::optional<uint8_t> AccessConditionOf(const CardBytes& bytes, int block);

// Access bytes 6-8 for four blocks' conditions (0bC1C2C3 each, trailer last).
std::array<uint8_t, 3> EncodeAccessBytes(const std::array<uint8_t, 4>& conditions);

class MifareCard {
  public:
    explicit MifareCard(const CardBytes& bytes) : bytes_(bytes) {}

    const CardBytes& Bytes() const { return bytes_; }
    // The card's contents change under it (the dump was rewritten); authentication stays.
    void ReplaceBytes(const CardBytes& bytes) { bytes_ = bytes; }

    // UID bytes 0-3 as a little-endian number, as readers report it.
    uint32_t Serial() const;

    // A failed authentication leaves the card unauthenticated, as a real card falls back to idle.
    SimStatus Authenticate(KeyType keyType, int sector, const Key& key);
    void Deauthenticate() { authenticated_.reset(); }

    SimStatus Read(int block, Block& data) const;
    SimStatus ReadValue(int block, int32_t& value) const;
    // Changes the value and transfers it into the same block; the value wraps as a signed 32-bit
    // number and does not stop at zero.
    SimStatus Decrement(int block, uint32_t amount);
    SimStatus Increment(int block, uint32_t amount);

  private:
    struct Authentication {
        int sector;
        KeyType keyType;
    };

    SimStatus Allowed(int block, BlockOp op) const;
    SimStatus ChangeValue(int block, BlockOp op, uint32_t delta);

    CardBytes bytes_;
    std::optional<Authentication> authenticated_;
};

}  // namespace kx::sim
