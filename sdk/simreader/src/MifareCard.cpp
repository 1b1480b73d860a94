#include "simreader/MifareCard.h"

#include <algorithm>

#include "mifare/ValueBlock.h"

namespace kx::sim {

namespace {

constexpr uint8_t kKeyA = 1;
constexpr uint8_t kKeyB = 2;
constexpr uint8_t kKeyAB = kKeyA | kKeyB;

// Which keys may do what to a data block, by condition 0bC1C2C3 (MF1S50 datasheet table 8).
struct DataRights {
    uint8_t read;
    uint8_t increment;
    uint8_t decrementTransfer;
};
constexpr std::array<DataRights, 8> kDataRights{{
    {kKeyAB, kKeyAB, kKeyAB},  // 000 transport configuration
    {kKeyAB, 0, kKeyAB},       // 001 value block, decrement only
    {kKeyAB, 0, 0},            // 010
    {kKeyB, 0, 0},             // 011
    {kKeyAB, 0, 0},            // 100
    {kKeyB, 0, 0},             // 101
    {kKeyAB, kKeyB, kKeyAB},   // 110 value block, recharge with key B
    {0, 0, 0},                 // 111
}};

// Which keys may read the access bytes and key B of a trailer (key A is never readable).
struct TrailerRights {
    uint8_t readAccessBits;
    uint8_t readKeyB;
};
constexpr std::array<TrailerRights, 8> kTrailerRights{{
    {kKeyA, kKeyA},  // 000
    {kKeyA, kKeyA},  // 001 transport configuration
    {kKeyA, kKeyA},  // 010
    {kKeyAB, 0},     // 011
    {kKeyAB, 0},     // 100
    {kKeyAB, 0},     // 101
    {kKeyAB, 0},     // 110
    {kKeyAB, 0},     // 111
}};

uint8_t KeyBit(KeyType keyType) {
    return keyType == KeyType::A ? kKeyA : kKeyB;
}

// Where key B can be read it is data, not a key: a card authenticated with it refuses all access.
bool KeyBIsReadable(uint8_t trailerCondition) {
    return kTrailerRights[trailerCondition].readKeyB != 0;
}

std::span<const uint8_t, kBlockSize> BlockBytes(const CardBytes& bytes, int block) {
    return std::span<const uint8_t, kBlockSize>(bytes.data() + block * kBlockSize, kBlockSize);
}

}  // namespace

std::optional<uint8_t> AccessConditionOf(const CardBytes& bytes, int block) {
    const uint8_t* trailer = BlockBytes(bytes, TrailerOfSector(SectorOfBlock(block))).data();
    const uint8_t b6 = trailer[6];
    const uint8_t b7 = trailer[7];
    const uint8_t b8 = trailer[8];
    const bool consistent = (b6 & 0x0F) == (~b7 >> 4 & 0x0F) &&  // ~C1 against C1
                            (b6 >> 4) == (~b8 & 0x0F) &&         // ~C2 against C2
                            (b7 & 0x0F) == (~b8 >> 4 & 0x0F);    // ~C3 against C3
    if (!consistent) {
        return std::nullopt;
    }
    const int bit = block % 4;
    const uint8_t c1 = b7 >> (4 + bit) & 1;
    const uint8_t c2 = b8 >> bit & 1;
    const uint8_t c3 = b8 >> (4 + bit) & 1;
    return static_cast<uint8_t>(c1 << 2 | c2 << 1 | c3);
}

std::array<uint8_t, 3> EncodeAccessBytes(const std::array<uint8_t, 4>& conditions) {
    uint8_t c1 = 0;
    uint8_t c2 = 0;
    uint8_t c3 = 0;
    for (int bit = 0; bit < 4; ++bit) {
        c1 |= (conditions[bit] >> 2 & 1) << bit;
        c2 |= (conditions[bit] >> 1 & 1) << bit;
        c3 |= (conditions[bit] & 1) << bit;
    }
    return {static_cast<uint8_t>((~c2 & 0x0F) << 4 | (~c1 & 0x0F)),
            static_cast<uint8_t>(c1 << 4 | (~c3 & 0x0F)), static_cast<uint8_t>(c3 << 4 | c2)};
}

uint32_t MifareCard::Serial() const {
    return static_cast<uint32_t>(bytes_[0]) | static_cast<uint32_t>(bytes_[1]) << 8 |
           static_cast<uint32_t>(bytes_[2]) << 16 | static_cast<uint32_t>(bytes_[3]) << 24;
}

SimStatus MifareCard::Authenticate(KeyType keyType, int sector, const Key& key) {
    authenticated_.reset();
    if (sector < 0 || sector >= kSectorCount) {
        return kBadArgument;
    }
    const int trailer = TrailerOfSector(sector);
    if (!AccessConditionOf(bytes_, trailer)) {
        return kAuthFailed;
    }
    const uint8_t* stored = BlockBytes(bytes_, trailer).data() + (keyType == KeyType::A ? 0 : 10);
    if (!std::equal(key.begin(), key.end(), stored)) {
        return kAuthFailed;
    }
    authenticated_ = Authentication{sector, keyType};
    return kOk;
}

SimStatus MifareCard::Allowed(int block, BlockOp op) const {
    if (block < 0 || block >= kBlockCount) {
        return kBadArgument;
    }
    if (!authenticated_ || authenticated_->sector != SectorOfBlock(block)) {
        return kNotAuthenticated;
    }
    const auto trailerCondition =
        AccessConditionOf(bytes_, TrailerOfSector(authenticated_->sector));
    if (!trailerCondition ||
        (authenticated_->keyType == KeyType::B && KeyBIsReadable(*trailerCondition))) {
        return kAccessDenied;
    }
    if (IsTrailer(block)) {
        // Only reads reach a trailer; what it reveals is masked in Read.
        return op == BlockOp::Read ? kOk : kAccessDenied;
    }
    // Block 0 holds the UID and the maker's data: whatever its access bits say, it is read-only.
    if (block == 0 && op != BlockOp::Read) {
        return kAccessDenied;
    }
    const DataRights rights = kDataRights[*AccessConditionOf(bytes_, block)];
    const uint8_t key = KeyBit(authenticated_->keyType);
    bool allowed = false;
    switch (op) {
        case BlockOp::Read:
            allowed = (rights.read & key) != 0;
            break;
        case BlockOp::Increment:
            // The incremented value still has to be transferred back into the block.
            allowed = (rights.increment & key) != 0 && (rights.decrementTransfer & key) != 0;
            break;
        case BlockOp::DecrementTransfer:
            allowed = (rights.decrementTransfer & key) != 0;
            break;
    }
    return allowed ? kOk : kAccessDenied;
}

SimStatus MifareCard::Read(int block, Block& data) const {
    if (const SimStatus status = Allowed(block, BlockOp::Read); status != kOk) {
        return status;
    }
    const auto source = BlockBytes(bytes_, block);
    std::copy(source.begin(), source.end(), data.begin());
    if (IsTrailer(block)) {
        const TrailerRights rights = kTrailerRights[*AccessConditionOf(bytes_, block)];
        const uint8_t key = KeyBit(authenticated_->keyType);
        std::fill_n(data.begin(), 6, 0);
        if ((rights.readAccessBits & key) == 0) {
            std::fill_n(data.begin() + 6, 4, 0);
        }
        if ((rights.readKeyB & key) == 0) {
            std::fill_n(data.begin() + 10, 6, 0);
        }
    }
    return kOk;
}

SimStatus MifareCard::ReadValue(int block, int32_t& value) const {
    if (const SimStatus status = Allowed(block, BlockOp::Read); status != kOk) {
        return status;
    }
    if (IsTrailer(block)) {
        return kNotValueBlock;
    }
    const auto stored = mifare::DecodeValueBlock(BlockBytes(bytes_, block));
    if (!stored) {
        return kNotValueBlock;
    }
    value = stored->value;
    return kOk;
}

SimStatus MifareCard::ChangeValue(int block, BlockOp op, uint32_t delta) {
    if (const SimStatus status = Allowed(block, op); status != kOk) {
        return status;
    }
    auto stored = mifare::DecodeValueBlock(BlockBytes(bytes_, block));
    if (!stored) {
        return kNotValueBlock;
    }
    // Unsigned arithmetic wraps modulo 2^32 exactly as the card's signed value does.
    stored->value = static_cast<int32_t>(static_cast<uint32_t>(stored->value) + delta);
    const Block written = mifare::EncodeValueBlock(*stored);
    std::copy(written.begin(), written.end(), bytes_.begin() + block * kBlockSize);
    return kOk;
}

SimStatus MifareCard::Decrement(int block, uint32_t amount) {
    return ChangeValue(block, BlockOp::DecrementTransfer, 0u - amount);
}

SimStatus MifareCard::Increment(int block, uint32_t amount) {
    return ChangeValue(block, BlockOp::Increment, amount);
}

}  // namespace kx::sim
