// kxcard issue OUT [--name TEXT] [--cer-no TEXT] [--cer-type N] [--sex N] [--address TEXT]
//   [--phone DIGITS] [--birthday YYYY-MM-DD] [--balance YUAN] [--points N] [--serial HEX8]
//   [--scheme N] [--issuer HEX4]

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

#include "CommandOptions.h"
#include "SimReaderCommands.h"
#include "card/MemberCard.h"
#include "gbk/Gbk.h"
#include "mifare/ValueBlock.h"
#include "simreader/DumpFile.h"
#include "simreader/MifareCard.h"

namespace kx {

namespace {

constexpr std::string_view kCommand = "issue";
constexpr std::string_view kUsage =
    "usage: kxcard issue OUT [--name TEXT] [--cer-no TEXT] [--cer-type N] [--sex N] "
    "[--address TEXT] [--phone DIGITS] [--birthday YYYY-MM-DD] [--balance YUAN] [--points N] "
    "[--serial HEX8] [--scheme N] [--issuer HEX4]";

constexpr std::size_t kCerNoBytes = 20;
constexpr std::size_t kNameBytes = 20;
constexpr std::size_t kAddressBytes = 34;
constexpr std::size_t kPhoneDigits = 16;
constexpr uint16_t kDefaultIssuer = 0x9999;

// Transport keys, and access bits FF 07 80 69: key A may do everything.
constexpr uint8_t kTrailer[sim::kBlockSize] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x07,
                                               0x80, 0x69, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

struct CardFields {
    std::string cerNo;    // GBK
    std::string name;     // GBK
    std::string address;  // GBK
    uint8_t cerType = 0;
    uint8_t sex = 0;
    std::string phone;  // decimal digits
    std::optional<CivilDate> birthday;
    uint32_t cents = 0;
    uint32_t points = 0;
    uint32_t serial = 0;
    uint8_t scheme = kExpectedSchemeCode;
    uint16_t issuer = kDefaultIssuer;
};

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

bool IsDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Unsigned integer in the given base that fits max; the whole text must be digits.
std::optional<uint64_t> ParseUnsigned(std::string_view text, int base, uint64_t max) {
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max) {
        return std::nullopt;
    }
    return value;
}

uint64_t NumberOption(const CommandOptions& options, std::string_view option, int base,
                      uint64_t max, std::string_view form, uint64_t fallback) {
    const auto text = options.Value(option);
    if (!text) {
        return fallback;
    }
    const auto value = ParseUnsigned(*text, base, max);
    if (!value) {
        throw UsageError(std::string(option) + ": " + Quoted(*text) + " is not " +
                         std::string(form));
    }
    return *value;
}

std::string TextOption(const CommandOptions& options, std::string_view option,
                       std::size_t fieldBytes) {
    const std::string text = options.Value(option).value_or("");
    const std::string prefix = std::string(option) + ": " + Quoted(text);
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        throw UsageError(prefix + " holds a control character");
    }
    const auto gbk = Utf8ToGbk(text);
    if (!gbk) {
        throw UsageError(prefix + " is not UTF-8 text that GBK can hold");
    }
    if (gbk->size() > fieldBytes) {
        throw UsageError(prefix + " takes " + std::to_string(gbk->size()) +
                         " bytes in GBK; the card field holds " + std::to_string(fieldBytes));
    }
    return *gbk;
}

// Yuan with at most two decimals, to cents, by digits alone so that no amount is rounded.
uint32_t BalanceOption(const CommandOptions& options) {
    const auto text = options.Value("--balance");
    if (!text) {
        return 0;
    }
    const std::size_t point = text->find('.');
    const std::string whole = text->substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : text->substr(point + 1);
    const bool wellFormed =
        IsDigits(whole) && IsDigits(fraction) && !whole.empty() && whole.size() <= 10 &&
        (point == std::string::npos || (!fraction.empty() && fraction.size() <= 2));
    const auto cents = wellFormed
                           ? ParseUnsigned(whole + (fraction + "00").substr(0, 2), 10, UINT32_MAX)
                           : std::nullopt;
    if (!cents) {
        throw UsageError("--balance: " + Quoted(*text) +
                         " is not an amount of yuan with at most two decimals, up to "
                         "42949672.95");
    }
    return static_cast<uint32_t>(*cents);
}

std::string PhoneOption(const CommandOptions& options) {
    const std::string phone = options.Value("--phone").value_or("");
    if (phone.size() > kPhoneDigits || !IsDigits(phone)) {
        throw UsageError("--phone: " + Quoted(phone) + " is not a number of up to 16 digits");
    }
    return phone;
}

std::optional<CivilDate> BirthdayOption(const CommandOptions& options) {
    const auto text = options.Value("--birthday");
    if (!text) {
        return std::nullopt;
    }
    const auto date = ParseCivilDate(*text);
    if (!date) {
        throw UsageError("--birthday: " + Quoted(*text) + " is not a date YYYY-MM-DD");
    }
    return date;
}

uint32_t RandomSerial() {
    std::random_device random;
    return static_cast<uint32_t>(random());
}

CardFields ParseFields(const CommandOptions& options) {
    CardFields fields;
    fields.cerNo = TextOption(options, "--cer-no", kCerNoBytes);
    fields.name = TextOption(options, "--name", kNameBytes);
    fields.address = TextOption(options, "--address", kAddressBytes);
    fields.cerType =
        static_cast<uint8_t>(NumberOption(options, "--cer-type", 10, 255, "a number 0-255", 0));
    fields.sex = static_cast<uint8_t>(NumberOption(options, "--sex", 10, 255, "a number 0-255", 0));
    fields.phone = PhoneOption(options);
    fields.birthday = BirthdayOption(options);
    fields.cents = BalanceOption(options);
    fields.points = static_cast<uint32_t>(
        NumberOption(options, "--points", 10, UINT32_MAX, "a whole number up to 4294967295", 0));
    const auto serialText = options.Value("--serial");
    if (serialText && serialText->size() != 8) {
        throw UsageError("--serial: " + Quoted(*serialText) + " is not 8 hexadecimal digits");
    }
    fields.serial = serialText
                        ? static_cast<uint32_t>(NumberOption(options, "--serial", 16, UINT32_MAX,
                                                             "8 hexadecimal digits", 0))
                        : RandomSerial();
    fields.scheme =
        static_cast<uint8_t>(NumberOption(options, "--scheme", 10, 255, "a number 0-255", 100));
    const auto issuerText = options.Value("--issuer");
    if (issuerText && issuerText->size() != 4) {
        throw UsageError("--issuer: " + Quoted(*issuerText) + " is not 4 hexadecimal digits");
    }
    fields.issuer = static_cast<uint16_t>(
        NumberOption(options, "--issuer", 16, 0xFFFF, "4 hexadecimal digits", kDefaultIssuer));
    return fields;
}

uint8_t Bcd(int value) {
    return static_cast<uint8_t>((value / 10 % 10) << 4 | value % 10);
}

// Block 1 onwards: the personal data sectors are written as one run of bytes each.
void PutText(uint8_t* field, const std::string& gbk) {
    std::copy(gbk.begin(), gbk.end(), field);
}

void PutLittleEndian32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

sim::CardBytes BuildCard(const CardFields& fields) {
    sim::CardBytes card{};
    const auto block = [&card](int number) { return card.data() + number * sim::kBlockSize; };

    // Manufacturer block: UID, its check byte (BCC), SAK and ATQA of a Classic 1K.
    uint8_t* maker = block(0);
    PutLittleEndian32(maker, fields.serial);
    maker[4] = maker[0] ^ maker[1] ^ maker[2] ^ maker[3];
    maker[5] = 0x08;
    maker[6] = 0x04;
    maker[7] = 0x00;

    uint8_t* sector0 = block(1);  // blocks 1, 2
    sector0[0] = 0x00;
    sector0[1] = 0x08;
    sector0[8] = 0x6F;
    sector0[31] = CardCrc8(sector0, 31);

    uint8_t* sector2 = block(8);  // blocks 8, 9, 10
    PutText(sector2, fields.cerNo);
    PutText(sector2 + 20, fields.name);
    sector2[40] = fields.cerType;
    sector2[41] = fields.sex;
    sector2[43] = fields.scheme;
    sector2[44] = static_cast<uint8_t>(fields.issuer);
    sector2[45] = static_cast<uint8_t>(fields.issuer >> 8);
    sector2[47] = CardCrc8(sector2, 47);

    uint8_t* sector4 = block(16);  // blocks 16, 17, 18
    PutText(sector4, fields.address);
    // Packed BCD, right-aligned in 16 digits.
    const std::string digits = std::string(kPhoneDigits - fields.phone.size(), '0') + fields.phone;
    for (std::size_t i = 0; i < kPhoneDigits / 2; ++i) {
        sector4[34 + i] =
            static_cast<uint8_t>((digits[2 * i] - '0') << 4 | (digits[2 * i + 1] - '0'));
    }
    if (fields.birthday) {
        sector4[42] = Bcd(fields.birthday->year / 100);
        sector4[43] = Bcd(fields.birthday->year);
        sector4[44] = Bcd(fields.birthday->month);
        sector4[45] = Bcd(fields.birthday->day);
    }
    sector4[47] = CardCrc8(sector4, 47);

    const uint32_t values[] = {fields.cents, fields.points, 0};
    for (int i = 0; i < 3; ++i) {
        const int number = 12 + i;
        const sim::Block value = mifare::EncodeValueBlock(
            {static_cast<int32_t>(values[i]), static_cast<uint8_t>(number)});
        std::copy(value.begin(), value.end(), block(number));
    }

    for (int sector = 0; sector < sim::kSectorCount; ++sector) {
        std::copy(std::begin(kTrailer), std::end(kTrailer), block(sim::TrailerOfSector(sector)));
    }
    return card;
}

}  // namespace

int RunIssue(std::span<const std::string> args) {
    try {
        const CommandOptions options(
            args,
            {"--name", "--cer-no", "--cer-type", "--sex", "--address", "--phone", "--birthday",
             "--balance", "--points", "--serial", "--scheme", "--issuer"},
            1, kUsage);
        const sim::CardBytes card = BuildCard(ParseFields(options));
        const std::string& out = options.Positional(0);
        if (!sim::WriteFileAtomically(out, card)) {
            std::fprintf(stderr, "kxcard issue: cannot write '%s'\n", out.c_str());
            return 1;
        }
        return 0;
    } catch (const UsageError& error) {
        return UsageFailure(kCommand, error.what());
    }
}

}  // namespace kx
