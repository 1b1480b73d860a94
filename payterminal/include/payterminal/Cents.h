#pragma once
// Amounts in yuan as the card holds them: a 32-bit count of cents.

#include <cstdint>
#include <optional>

namespace kx {

struct CentsConversion {
    enum Refusal { None, Negative, TooLarge };
    Refusal refusal = None;
    uint32_t cents = 0;  // valid when refusal is None
};

// The amount in whole cents, any fraction of a cent dropped. Works on the decimal digits of the
// amount (the shortest decimal that reads back as it), never on yuan * 100 in floating point,
// so that every amount of at most two decimals converts exactly: 4.35 gives 435, not 434.
CentsConversion YuanToCents(double yuan);

// The balance after crediting cents, or nothing when it would not fit 32 bits.
std::optional<uint32_t> BalanceAfterCredit(uint32_t balanceCents, uint32_t cents);

}  // namespace kx
