#pragma once
// The MIFARE Classic work of one open reader, spoken in storage-card pseudo-APDUs over whatever
// carries them to the reader (PC/SC in the library, a virtual card in tests).

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <utility>

#include "mifare/ValueBlock.h"
#include "pcscreader/DcStatus.h"
#include "pcscreader/StorageCardApdu.h"

namespace kx::pcsc {

using mifare::BlockBytes;

class CardChannel {
  public:
    virtual ~CardChannel() = default;
    // Sends one command APDU. kOk means an answer came back, whatever its status word.
    virtual DcStatus Transmit(std::span<const uint8_t> command, Answer& answer) = 0;
};

// The first block of a sector (1K and 4K layouts); nothing past the last sector of a 4K card.
std::optional<uint8_t> FirstBlockOfSector(uint8_t sector);

class MifareSession {
  public:
    explicit MifareSession(CardChannel& channel) : channel_(channel) {}

    // A new card connection: the reader's key slots may hold anything now.
    void CardConnected() { slotKeys_ = {}; }

    // The first four UID bytes, UID byte 0 in the low byte.
    DcStatus ReadSerial(uint32_t& serial);
    DcStatus LoadKey(uint8_t mode, uint8_t sector, const Key& key);
    DcStatus Authenticate(uint8_t mode, uint8_t sector);
    DcStatus Read(uint8_t block, BlockBytes& data);
    DcStatus ReadValue(uint8_t block, uint32_t& value);
    DcStatus Decrement(uint8_t block, uint32_t amount);
    DcStatus Increment(uint8_t block, uint32_t amount);

  private:
    enum class ValueCommands { Unknown, Present, Absent };

    // Transmits and accepts only the status word 90 00.
    DcStatus Exchange(std::span<const uint8_t> command, Answer& answer);
    // Loads the key into its reader slot and remembers what the slot holds.
    DcStatus PutKeyInSlot(KeyType keyType, const Key& key);
    // Tries the reader's own value command first; nullopt means the reader has none.
    std::optional<DcStatus> TryValueCommand(std::span<const uint8_t> command,
                                            std::size_t dataLength, Answer& answer);
    DcStatus ChangeValue(uint8_t block, ValueOperation operation, uint32_t amount);
    DcStatus ChangeValueByWrite(uint8_t block, ValueOperation operation, uint32_t amount);

    CardChannel& channel_;
    std::map<std::pair<KeyType, uint8_t>, Key> keys_;  // by key type and sector
    std::array<std::optional<Key>, 2> slotKeys_;       // what the reader's slots hold
    ValueCommands valueCommands_ = ValueCommands::Unknown;
};

}  // namespace kx::pcsc
