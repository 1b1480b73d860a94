#include "pcscreader/StorageCardApdu.h"

#include <algorithm>
#include <initializer_list>

namespace kx::pcsc {

namespace {

// A command header with its data field.
Apdu WithData(std::initializer_list<uint8_t> header, std::span<const uint8_t> data) {
    Apdu command(header.size() + data.size());
    std::copy(header.begin(), header.end(), command.begin());
    std::copy(data.begin(), data.end(),
              command.begin() + static_cast<std::ptrdiff_t>(header.size()));
    return command;
}

}  // namespace

bool IsNotSupported(uint16_t statusWord) {
    return statusWord == kSwFunctionNotSupported || statusWord == kSwInstructionNotSupported ||
           statusWord == kSwClassNotSupported;
}

bool ParseResponse(std::span<const uint8_t> response, Answer& answer) {
    if (response.size() < 2) {
        return false;
    }
    const std::size_t dataLength = response.size() - 2;
    answer.data.assign(response.begin(),
                       response.begin() + static_cast<std::ptrdiff_t>(dataLength));
    answer.statusWord = static_cast<uint16_t>(response[dataLength] << 8 | response[dataLength + 1]);
    return true;
}

Apdu GetUidCommand() {
    return {kStorageCardClass, kInsGetData, 0x00, 0x00, 0x00};
}

Apdu LoadKeyCommand(uint8_t slot, const Key& key) {
    // P1 00: a card key, sent plain, into the reader's volatile memory.
    return WithData({kStorageCardClass, kInsLoadKey, 0x00, slot, static_cast<uint8_t>(key.size())},
                    key);
}

Apdu AuthenticateCommand(uint8_t block, KeyType keyType, uint8_t slot) {
    return {kStorageCardClass,
            kInsAuthenticate,
            0x00,
            0x00,
            0x05,
            0x01,
            0x00,
            block,
            keyType == KeyType::A ? kKeyACode : kKeyBCode,
            slot};
}

Apdu ReadBlockCommand(uint8_t block) {
    return {kStorageCardClass, kInsReadBinary, 0x00, block, 0x10};
}

Apdu WriteBlockCommand(uint8_t block, std::span<const uint8_t, 16> data) {
    return WithData({kStorageCardClass, kInsUpdateBinary, 0x00, block, 0x10}, data);
}

Apdu ValueCommand(uint8_t block, ValueOperation operation, uint32_t operand) {
    return {kStorageCardClass,
            kInsValueOperation,
            0x00,
            block,
            0x05,
            static_cast<uint8_t>(operation),
            static_cast<uint8_t>(operand >> 24),
            static_cast<uint8_t>(operand >> 16),
            static_cast<uint8_t>(operand >> 8),
            static_cast<uint8_t>(operand)};
}

Apdu ReadValueCommand(uint8_t block) {
    return {kStorageCardClass, kInsReadValue, 0x00, block, 0x04};
}

Apdu BuzzerCommand(uint8_t tenths) {
    // T1 = tenths with the buzzer on, T2 = 0, one repetition, buzzer linked to T1.
    return {kStorageCardClass, kInsReaderControl, kBuzzerP1, 0x00, 0x04, tenths, 0x00, 0x01, 0x01};
}

}  // namespace kx::pcsc
