// Yuan to cents on the decimal amount, and the credit that would not fit the card.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "payterminal/Cents.h"

namespace kx {
namespace {

struct CentsCase {
    double yuan;
    CentsConversion::Refusal refusal;
    uint32_t cents;
};

class YuanToCentsTest : public ::testing::TestWithParam<CentsCase> {};

TEST_P(YuanToCentsTest, ConvertsOnTheDecimalAmount) {
    const CentsCase& c = GetParam();
    const CentsConversion conversion = YuanToCents(c.yuan);
    EXPECT_EQ(conversion.refusal, c.refusal) << c.yuan;
    if (c.refusal == CentsConversion::None) {
        EXPECT_EQ(conversion.cents, c.cents) << c.yuan;
    }
}

constexpr auto kNone = CentsConversion::None;
constexpr auto kNegative = CentsConversion::Negative;
constexpr auto kTooLarge = CentsConversion::TooLarge;

INSTANTIATE_TEST_SUITE_P(
    Amounts, YuanToCentsTest,
    ::testing::Values(
        // yuan * 100 in floating point falls just below the whole cent for these
        CentsCase{0.29, kNone, 29}, CentsCase{1.15, kNone, 115}, CentsCase{4.35, kNone, 435},
        CentsCase{1.13, kNone, 113}, CentsCase{0.57, kNone, 57}, CentsCase{19.99, kNone, 1999},
        // fractions of a cent are dropped, not rounded
        CentsCase{12.345, kNone, 1234}, CentsCase{0.019, kNone, 1}, CentsCase{0.001, kNone, 0},
        CentsCase{std::numeric_limits<double>::denorm_min(), kNone, 0}, CentsCase{0.0, kNone, 0},
        CentsCase{-0.0, kNone, 0}, CentsCase{50.0, kNone, 5000},
        CentsCase{1234567.89, kNone, 123456789},
        // the 32-bit limit of the card
        CentsCase{42949672.95, kNone, 4294967295u}, CentsCase{42949672.96, kTooLarge, 0},
        CentsCase{99999999.99, kTooLarge, 0}, CentsCase{1e20, kTooLarge, 0},
        CentsCase{std::numeric_limits<double>::max(), kTooLarge, 0},
        CentsCase{std::numeric_limits<double>::infinity(), kTooLarge, 0},
        CentsCase{std::nan(""), kTooLarge, 0},
        // only a pasted text can be negative
        CentsCase{-0.01, kNegative, 0}, CentsCase{-100.0, kNegative, 0}));

TEST(BalanceAfterCreditTest, RefusesWhatWouldPassTheCardLimit) {
    EXPECT_EQ(BalanceAfterCredit(2000, 5000), 7000u);
    EXPECT_EQ(BalanceAfterCredit(4294967000u, 295), 4294967295u);
    EXPECT_EQ(BalanceAfterCredit(4294967000u, 296), std::nullopt);
    EXPECT_EQ(BalanceAfterCredit(4294967295u, 4294967295u), std::nullopt);
}

}  // namespace
}  // namespace kx
