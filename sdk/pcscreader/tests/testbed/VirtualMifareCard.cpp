#include "VirtualMifareCard.h"

#include <algorithm>

#include "mifare/ValueBlock.h"

namespace kx::pcsc::testing {

namespace {

constexpr int kBlocks = 64;

std::vector<uint8_t> Status(uint16_t statusWord) {
    return {static_cast<uint8_t>(statusWord >> 8), static_cast<uint8_t>(statusWord)};
}

std::vector<uint8_t> DataAndOk(std::span<const uint8_t> data) {
    std::vector<uint8_t> answer(data.begin(), data.end());
    answer.push_back(0x90);
    answer.push_back(0x00);
    return answer;
}

bool IsTrailer(int block) {
    return block % 4 == 3;
}

}  // namespace

std::vector<uint8_t> MifareClassic1kAtr() {
    return {0x3B, 0x8F, 0x80, 0x01, 0x80, 0x4F, 0x0C, 0xA0, 0x00, 0x00,
            0x03, 0x06, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x6A};
}

CardImage TransportCard(uint32_t serial) {
    CardImage image{};
    for (int i = 0; i < 4; ++i) {
        image[static_cast<std::size_t>(i)] = static_cast<uint8_t>(serial >> (8 * i));
    }
    image[4] = image[0] ^ image[1] ^ image[2] ^ image[3];  // BCC
    image[5] = 0x08;                                       // SAK of a 1K card
    image[6] = 0x04;                                       // ATQA
    constexpr std::array<uint8_t, 16> kTrailer{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x07,
                                               0x80, 0x69, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    for (int sector = 0; sector < 16; ++sector) {
        PutBlock(image, sector * 4 + 3, kTrailer);
    }
    return image;
}

void PutBlock(CardImage& image, int block, std::span<const uint8_t, 16> data) {
    std::copy(data.begin(), data.end(), image.begin() + block * 16);
}

std::span<const uint8_t, 16> BlockOf(const CardImage& image, int block) {
    return std::span<const uint8_t, 16>(image.data() + block * 16, 16);
}

void PutKeyA(CardImage& image, int sector, const Key& key) {
    std::copy(key.begin(), key.end(), image.begin() + (sector * 4 + 3) * 16);
}

std::optional<int32_t> ValueInBlock(const CardImage& image, int block) {
    const std::optional<mifare::ValueBlock> value = mifare::DecodeValueBlock(BlockOf(image, block));
    return value ? std::optional(value->value) : std::nullopt;
}

std::vector<uint8_t> VirtualMifareCard::Answer(std::span<const uint8_t> command) {
    if (command.size() < 5) {
        return Status(kSwWrongLength);
    }
    if (command[0] != kStorageCardClass) {
        return Status(kSwClassNotSupported);
    }
    const uint8_t p1 = command[2];
    const uint8_t p2 = command[3];
    const auto body = command.subspan(5);
    switch (command[1]) {
        case kInsGetData:
            return p1 == 0x00 ? DataAndOk(std::span(image_.data(), 4)) : Status(kSwFailed);
        case kInsLoadKey:
            if (body.size() != 6 || p2 > 1) {
                return Status(kSwFailed);
            }
            slots_[p2].emplace();
            std::copy(body.begin(), body.end(), slots_[p2]->begin());
            return Status(kSwOk);
        case kInsAuthenticate:
            return Authenticate(body);
        case kInsReadBinary:
            return ReadBlock(p2);
        case kInsUpdateBinary:
            return WriteBlock(p2, body);
        case kInsValueOperation:
            if (!traits_.valueCommands) {
                return Status(kSwInstructionNotSupported);
            }
            if (body.size() != 5) {
                return Status(kSwFailed);
            }
            return ChangeValue(p2, body[0],
                               uint32_t{body[1]} << 24 | uint32_t{body[2]} << 16 |
                                   uint32_t{body[3]} << 8 | uint32_t{body[4]});
        case kInsReadValue:
            return traits_.valueCommands ? ReadValue(p2) : Status(kSwInstructionNotSupported);
        case kInsReaderControl:
            if (!traits_.buzzer || p1 != kBuzzerP1) {
                return Status(kSwInstructionNotSupported);
            }
            ++beeps_;
            return Status(kSwOk);
        default:
            return Status(kSwInstructionNotSupported);
    }
}

std::vector<uint8_t> VirtualMifareCard::Authenticate(std::span<const uint8_t> body) {
    // 01 00 <block> <60 key A / 61 key B> <slot>
    authenticated_.reset();
    if (body.size() != 5 || body[0] != 0x01 || body[2] >= kBlocks || body[4] > 1 ||
        !slots_[body[4]]) {
        return Status(kSwFailed);
    }
    const int sector = body[2] / 4;
    const std::size_t keyOffset = body[3] == kKeyACode ? 0 : 10;
    const auto trailer = BlockOf(image_, sector * 4 + 3);
    if (!std::equal(slots_[body[4]]->begin(), slots_[body[4]]->end(),
                    trailer.begin() + static_cast<std::ptrdiff_t>(keyOffset))) {
        return Status(kSwFailed);
    }
    authenticated_ = sector;
    return Status(kSwOk);
}

bool VirtualMifareCard::Opened(uint8_t block) const {
    return block < kBlocks && authenticated_ == block / 4;
}

std::vector<uint8_t> VirtualMifareCard::ReadBlock(uint8_t block) const {
    return Opened(block) ? DataAndOk(BlockOf(image_, block)) : Status(kSwFailed);
}

std::vector<uint8_t> VirtualMifareCard::WriteBlock(uint8_t block, std::span<const uint8_t> data) {
    if (!Opened(block) || block == 0 || IsTrailer(block) || data.size() != 16) {
        return Status(kSwFailed);
    }
    PutBlock(image_, block, data.first<16>());
    return Status(kSwOk);
}

std::vector<uint8_t> VirtualMifareCard::ChangeValue(uint8_t block, uint8_t operation,
                                                    uint32_t operand) {
    const bool increment = operation == static_cast<uint8_t>(ValueOperation::Increment);
    const bool decrement = operation == static_cast<uint8_t>(ValueOperation::Decrement);
    if (!Opened(block) || block == 0 || IsTrailer(block) || !(increment || decrement)) {
        return Status(kSwFailed);
    }
    std::optional<mifare::ValueBlock> value = mifare::DecodeValueBlock(BlockOf(image_, block));
    if (!value) {
        return Status(kSwFailed);
    }
    // The card's arithmetic: signed 32-bit, wrapping, no stop at zero.
    const auto current = static_cast<uint32_t>(value->value);
    value->value = static_cast<int32_t>(increment ? current + operand : current - operand);
    PutBlock(image_, block, mifare::EncodeValueBlock(*value));
    return Status(kSwOk);
}

std::vector<uint8_t> VirtualMifareCard::ReadValue(uint8_t block) const {
    if (!Opened(block)) {
        return Status(kSwFailed);
    }
    const std::optional<mifare::ValueBlock> value =
        mifare::DecodeValueBlock(BlockOf(image_, block));
    if (!value) {
        return Status(kSwFailed);
    }
    const auto bits = static_cast<uint32_t>(value->value);
    const std::array<uint8_t, 4> mostSignificantFirst{
        static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16),
        static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
    return DataAndOk(mostSignificantFirst);
}

}  // namespace kx::pcsc::testing
