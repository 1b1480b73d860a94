#pragma once
// A MIFARE Classic 1K card on an ACS-like PC/SC reader, answering the storage-card pseudo-APDUs
// as the reader would: key slots, authentication against the sector trailer, block read and
// write, and, where the reader has them, the ACS value and buzzer commands.
// Access bits are not modelled: an authenticated key may do everything to its sector's data blocks
// (the transport configuration); trailers and block 0 are never written.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "pcscreader/StorageCardApdu.h"

namespace kx::pcsc::testing {

using CardImage = std::array<uint8_t, 1024>;

struct ReaderTraits {
    bool valueCommands = true;  // FF D7 and FF B1
    bool buzzer = true;         // FF 00 40
};

// The ATR of a contactless MIFARE Classic 1K storage card.
std::vector<uint8_t> MifareClassic1kAtr();

// A card in transport configuration (keys FF..FF, access bytes FF 07 80 69) whose UID bytes are
// the serial, least significant byte first.
CardImage TransportCard(uint32_t serial);
void PutBlock(CardImage& image, int block, std::span<const uint8_t, 16> data);
std::span<const uint8_t, 16> BlockOf(const CardImage& image, int block);
void PutKeyA(CardImage& image, int sector, const Key& key);
// The value of a value block; nothing when the block is not in value-block format.
std::optional<int32_t> ValueInBlock(const CardImage& image, int block);

class VirtualMifareCard {
  public:
    explicit VirtualMifareCard(const CardImage& image, ReaderTraits traits = {})
        : image_(image), traits_(traits) {}

    // The response APDU (data, SW1, SW2) to one command APDU.
    std::vector<uint8_t> Answer(std::span<const uint8_t> command);
    // Power off, power on or reset: the card forgets its authentication.
    void Reset() { authenticated_.reset(); }

    const CardImage& Image() const { return image_; }
    int Beeps() const { return beeps_; }

  private:
    std::vector<uint8_t> Authenticate(std::span<const uint8_t> command);
    std::vector<uint8_t> ReadBlock(uint8_t block) const;
    std::vector<uint8_t> WriteBlock(uint8_t block, std::span<const uint8_t> data);
    std::vector<uint8_t> ChangeValue(uint8_t block, uint8_t operation, uint32_t operand);
    std::vector<uint8_t> ReadValue(uint8_t block) const;
    bool Opened(uint8_t block) const;

    CardImage image_;
    ReaderTraits traits_;
    std::array<std::optional<Key>, 2> slots_;
    std::optional<int> authenticated_;  // sector
    int beeps_ = 0;
};

}  // namespace kx::pcsc::testing
