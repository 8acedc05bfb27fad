#pragma once

#include <cstdint>
#include <string>

namespace vantrell {

struct DecimalText;

// A decimal value split into its digits: value = ±digits × 10^exponent, where `digits` has
// no leading or trailing zeros (empty for zero) and `exponent` is the power of its last digit.
// The general form behind printing, rounding and division of values of any length.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    std::int64_t exponent = 0;

    static DecimalDigits fromText(const DecimalText& text);

    bool isZero() const { return digits.empty(); }
    std::int64_t leadingExponent() const
    {
        return exponent + static_cast<std::int64_t>(digits.size()) - 1;
    }

    // Drops leading and trailing zeros, moving the exponent along with the trailing ones.
    void normalize();
    // Keeps the digits down to 10^exponent; `roundAway` adds one unit there for the dropped rest.
    DecimalDigits cut(std::int64_t exponent, bool roundAway) const;

    // All digits, "." only when a fraction remains, no exponent, never "-0".
    std::string plainText() const;
    // "±digitsEexponent": the form both the wide backend and std::from_chars read exactly.
    std::string scientificText() const;
};

}  // namespace vantrell
