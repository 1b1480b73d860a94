#include "pcscreader/MifareSession.h"

#include <algorithm>

namespace kx::pcsc {

namespace {

// Key A lives in reader slot 0 and key B in slot 1, so a sector's two keys never evict each other.
uint8_t SlotOf(KeyType keyType) {
    return keyType == KeyType::A ? 0 : 1;
}

}  // namespace

std::optional<uint8_t> FirstBlockOfSector(uint8_t sector) {
    if (sector < 32) {
        return static_cast<uint8_t>(sector * 4);
    }
    if (sector < 40) {
        return static_cast<uint8_t>(128 + (sector - 32) * 16);
    }
    return std::nullopt;
}

DcStatus MifareSession::Exchange(std::span<const uint8_t> command, Answer& answer) {
    if (const DcStatus status = channel_.Transmit(command, answer); status != kOk) {
        return status;
    }
    return answer.statusWord == kSwOk ? kOk : kCardRefused;
}

DcStatus MifareSession::ReadSerial(uint32_t& serial) {
    Answer answer;
    if (const DcStatus status = Exchange(GetUidCommand(), answer); status != kOk) {
        return status;
    }
    if (answer.data.size() < 4) {
        return kBadAnswer;
    }
    serial = uint32_t{answer.data[0]} | uint32_t{answer.data[1]} << 8 |
             uint32_t{answer.data[2]} << 16 | uint32_t{answer.data[3]} << 24;
    return kOk;
}

DcStatus MifareSession::PutKeyInSlot(KeyType keyType, const Key& key) {
    const uint8_t slot = SlotOf(keyType);
    slotKeys_[slot].reset();
    Answer answer;
    if (const DcStatus status = Exchange(LoadKeyCommand(slot, key), answer); status != kOk) {
        return status;
    }
    slotKeys_[slot] = key;
    return kOk;
}

DcStatus MifareSession::LoadKey(uint8_t mode, uint8_t sector, const Key& key) {
    const std::optional<KeyType> keyType = mifare::KeyTypeOfDcMode(mode);
    if (!keyType || !FirstBlockOfSector(sector)) {
        return kBadArgument;
    }
    // Sent now, so that a reader refusing the key fails here as a vendor reader would.
    if (const DcStatus status = PutKeyInSlot(*keyType, key); status != kOk) {
        return status;
    }
    keys_[{*keyType, sector}] = key;
    return kOk;
}

DcStatus MifareSession::Authenticate(uint8_t mode, uint8_t sector) {
    const std::optional<KeyType> keyType = mifare::KeyTypeOfDcMode(mode);
    const std::optional<uint8_t> block = FirstBlockOfSector(sector);
    if (!keyType || !block) {
        return kBadArgument;
    }
    const auto key = keys_.find({*keyType, sector});
    if (key == keys_.end()) {
        return kNoKey;
    }
    // Another sector's key may have taken the slot since this one was loaded.
    if (slotKeys_[SlotOf(*keyType)] != key->second) {
        if (const DcStatus status = PutKeyInSlot(*keyType, key->second); status != kOk) {
            return status;
        }
    }
    Answer answer;
    return Exchange(AuthenticateCommand(*block, *keyType, SlotOf(*keyType)), answer);
}

DcStatus MifareSession::Read(uint8_t block, BlockBytes& data) {
    Answer answer;
    if (const DcStatus status = Exchange(ReadBlockCommand(block), answer); status != kOk) {
        return status;
    }
    if (answer.data.size() != data.size()) {
        return kBadAnswer;
    }
    std::copy(answer.data.begin(), answer.data.end(), data.begin());
    return kOk;
}

std::optional<DcStatus> MifareSession::TryValueCommand(std::span<const uint8_t> command,
                                                       std::size_t dataLength, Answer& answer) {
    if (valueCommands_ == ValueCommands::Absent) {
        return std::nullopt;
    }
    if (const DcStatus status = channel_.Transmit(command, answer); status != kOk) {
        return status;
    }
    if (IsNotSupported(answer.statusWord)) {
        valueCommands_ = ValueCommands::Absent;
        return std::nullopt;
    }
    if (answer.statusWord != kSwOk) {
        return kCardRefused;
    }
    valueCommands_ = ValueCommands::Present;
    return answer.data.size() == dataLength ? kOk : kBadAnswer;
}

DcStatus MifareSession::ReadValue(uint8_t block, uint32_t& value) {
    Answer answer;
    if (const std::optional<DcStatus> status =
            TryValueCommand(ReadValueCommand(block), 4, answer)) {
        if (*status == kOk) {
            value = uint32_t{answer.data[0]} << 24 | uint32_t{answer.data[1]} << 16 |
                    uint32_t{answer.data[2]} << 8 | uint32_t{answer.data[3]};
        }
        return *status;
    }
    BlockBytes data{};
    if (const DcStatus status = Read(block, data); status != kOk) {
        return status;
    }
    const std::optional<mifare::ValueBlock> valueBlock = mifare::DecodeValueBlock(data);
    if (!valueBlock) {
        return kNotValueBlock;
    }
    value = static_cast<uint32_t>(valueBlock->value);
    return kOk;
}

DcStatus MifareSession::Decrement(uint8_t block, uint32_t amount) {
    return ChangeValue(block, ValueOperation::Decrement, amount);
}

DcStatus MifareSession::Increment(uint8_t block, uint32_t amount) {
    return ChangeValue(block, ValueOperation::Increment, amount);
}

DcStatus MifareSession::ChangeValue(uint8_t block, ValueOperation operation, uint32_t amount) {
    Answer answer;
    if (const std::optional<DcStatus> status =
            TryValueCommand(ValueCommand(block, operation, amount), 0, answer)) {
        return *status;
    }
    return ChangeValueByWrite(block, operation, amount);
}

DcStatus MifareSession::ChangeValueByWrite(uint8_t block, ValueOperation operation,
                                           uint32_t amount) {
    BlockBytes data{};
    if (const DcStatus status = Read(block, data); status != kOk) {
        return status;
    }
    std::optional<mifare::ValueBlock> valueBlock = mifare::DecodeValueBlock(data);
    if (!valueBlock) {
        return kNotValueBlock;
    }
    // As the card computes it: signed 32-bit, wrapping, no stop at zero.
    const auto current = static_cast<uint32_t>(valueBlock->value);
    const uint32_t changed =
        operation == ValueOperation::Increment ? current + amount : current - amount;
    valueBlock->value = static_cast<int32_t>(changed);
    // One block write: the card writes all 16 bytes or none.
    Answer answer;
    return Exchange(WriteBlockCommand(block, mifare::EncodeValueBlock(*valueBlock)), answer);
}

}  // namespace kx::pcsc
