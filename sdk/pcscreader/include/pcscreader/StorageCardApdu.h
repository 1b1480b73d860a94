#pragma once
// The contactless storage-card pseudo-APDUs (class FF) that PC/SC readers answer themselves,
// including the value and buzzer commands of ACS readers.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "mifare/KeyMode.h"

namespace kx::pcsc {

using Apdu = std::vector<uint8_t>;
using Key = std::array<uint8_t, 6>;

inline constexpr uint8_t kStorageCardClass = 0xFF;

enum Instruction : uint8_t {
    kInsReaderControl = 0x00,  // with P1 = 40: LED and buzzer (ACS)
    kInsGetData = 0xCA,
    kInsLoadKey = 0x82,
    kInsAuthenticate = 0x86,
    kInsReadBinary = 0xB0,
    kInsReadValue = 0xB1,  // ACS
    kInsUpdateBinary = 0xD6,
    kInsValueOperation = 0xD7,  // ACS
};

inline constexpr uint8_t kBuzzerP1 = 0x40;

using mifare::KeyType;
// How the authenticate command names the key.
inline constexpr uint8_t kKeyACode = 0x60;
inline constexpr uint8_t kKeyBCode = 0x61;

enum class ValueOperation : uint8_t { Store = 0x00, Increment = 0x01, Decrement = 0x02 };

// Status words.
inline constexpr uint16_t kSwOk = 0x9000;
inline constexpr uint16_t kSwFailed = 0x6300;
inline constexpr uint16_t kSwWrongLength = 0x6700;
inline constexpr uint16_t kSwFunctionNotSupported = 0x6A81;
inline constexpr uint16_t kSwInstructionNotSupported = 0x6D00;
inline constexpr uint16_t kSwClassNotSupported = 0x6E00;

// The reader did not understand the command, so it did nothing: safe to do the work another way.
bool IsNotSupported(uint16_t statusWord);

struct Answer {
    std::vector<uint8_t> data;  // without the status word
    uint16_t statusWord = 0;
};

// A response APDU (data then SW1 SW2) split; nothing shorter than the status word.
bool ParseResponse(std::span<const uint8_t> response, Answer& answer);

Apdu GetUidCommand();
Apdu LoadKeyCommand(uint8_t slot, const Key& key);
Apdu AuthenticateCommand(uint8_t block, KeyType keyType, uint8_t slot);
Apdu ReadBlockCommand(uint8_t block);
Apdu WriteBlockCommand(uint8_t block, std::span<const uint8_t, 16> data);
// The operand goes most significant byte first, as ACS readers take it.
Apdu ValueCommand(uint8_t block, ValueOperation operation, uint32_t operand);
Apdu ReadValueCommand(uint8_t block);
// One beep of the given length in tenths of a second, LEDs unchanged.
Apdu BuzzerCommand(uint8_t tenths);

}  // namespace kx::pcsc
