#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "BlowfishCipher.h"

namespace {

// A fixed-point number, most significant limb first: limb 0 holds the
// integer part, the others the fraction in base 2^32.
using Fixed = std::vector<std::uint32_t>;

void DivideBy(Fixed& x, std::uint32_t divisor, std::size_t firstNonZero) {
    std::uint64_t rest = 0;
    for (std::size_t i = firstNonZero; i < x.size(); ++i) {
        const std::uint64_t current = (rest << 32) | x[i];
        x[i] = static_cast<std::uint32_t>(current / divisor);
        rest = current % divisor;
    }
}

void AddOrSubtract(Fixed& sum, const Fixed& term, bool subtract) {
    std::int64_t carry = 0;
    for (std::size_t i = sum.size(); i-- > 0;) {
        const std::int64_t limb =
            std::int64_t{sum[i]} + (subtract ? -1 : 1) * std::int64_t{term[i]} + carry;
        sum[i] = static_cast<std::uint32_t>(limb & 0xFFFFFFFF);
        carry = limb >> 32;
    }
}

// multiplier * arctan(1/x), summed term by term until the terms vanish.
Fixed ScaledArctanOfInverse(std::uint32_t multiplier, std::uint32_t x, std::size_t limbs) {
    Fixed power(limbs, 0);  // multiplier / x^(2k+1)
    power[0] = multiplier;
    DivideBy(power, x, 0);
    Fixed sum = power;
    std::size_t lead = 0;
    for (std::uint32_t k = 1;; ++k) {
        DivideBy(power, x * x, lead);
        while (lead < limbs && power[lead] == 0) {
            ++lead;
        }
        if (lead == limbs) {
            return sum;
        }
        Fixed term = power;
        DivideBy(term, 2 * k + 1, lead);
        AddOrSubtract(sum, term, k % 2 == 1);
    }
}

// The initial state must be pi's fractional hexadecimal digits in order; the
// digits are worked out here from Machin's formula, pi = 16 atan(1/5) - 4 atan(1/239).
TEST(BlowfishTables, AreTheFractionalDigitsOfPi) {
    constexpr std::size_t kGuardLimbs = 3;  // absorb the truncation of every division
    const std::size_t limbs = 1 + kBlowfishInitialTables.size() + kGuardLimbs;
    Fixed pi = ScaledArctanOfInverse(16, 5, limbs);
    AddOrSubtract(pi, ScaledArctanOfInverse(4, 239, limbs), true);

    ASSERT_EQ(pi[0], 3u);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < kBlowfishInitialTables.size(); ++i) {
        if (kBlowfishInitialTables[i] != pi[1 + i]) {
            ADD_FAILURE() << "word " << i << std::hex << ": table 0x" << kBlowfishInitialTables[i]
                          << ", pi 0x" << pi[1 + i];
            if (++wrong == 5) {
                break;
            }
        }
    }
}

}  // namespace
