#include "payterminal/Cents.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace kx {

namespace {

constexpr uint64_t kMaxCents = std::numeric_limits<uint32_t>::max();
// Yuan at or above this never fit, whatever their digits; it also bounds the text below.
constexpr double kFirstYuanTooLarge = 1e8;

}  // namespace

CentsConversion YuanToCents(double yuan) {
    if (std::isnan(yuan) || yuan >= kFirstYuanTooLarge) {
        return {CentsConversion::TooLarge, 0};
    }
    if (yuan < 0) {
        return {CentsConversion::Negative, 0};
    }
    // Shortest fixed-point digits that read back as yuan: "12.345", "0.29", "50". Room for the
    // smallest double's 0.000...; adding 0.0 turns -0.0 into 0.0.
    char digits[400];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, yuan + 0.0, std::chars_format::fixed);
    const std::string_view text(digits, written.ptr);
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);

    uint64_t cents = 0;
    for (const char digit : whole) {
        cents = cents * 10 + static_cast<uint64_t>(digit - '0');
    }
    for (std::size_t place = 0; place < 2; ++place) {
        const char digit = place < fraction.size() ? fraction[place] : '0';
        cents = cents * 10 + static_cast<uint64_t>(digit - '0');
    }
    if (cents > kMaxCents) {
        return {CentsConversion::TooLarge, 0};
    }
    return {CentsConversion::None, static_cast<uint32_t>(cents)};
}

std::optional<uint32_t> BalanceAfterCredit(uint32_t balanceCents, uint32_t cents) {
    const uint64_t after = uint64_t{balanceCents} + cents;
    if (after > kMaxCents) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(after);
}

}  // namespace kx
