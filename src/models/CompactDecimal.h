#pragma once

#include <cstdint>
#include <optional>  // brings <compare>; moc cannot read <compare> as the first library header
#include <string>
#include <string_view>

namespace vantrell {

struct DecimalText;

// A decimal of at most 18 significant digits held as mantissa × 10^exponent: the form nearly
// every amount takes, so reading, copying, comparing and printing it needs no wide arithmetic.
// Normalized, so equal values have equal members: the mantissa has no trailing zeros and zero
// is 0 × 10^0.
struct CompactDecimal {
    static constexpr int maxDigits = 18;
    // Every accepted text fits (its leading digit lies within 10^±1000); anything further out
    // stays in the wide form, so exponents never come near overflowing and converting to the
    // wide form stays short.
    static constexpr std::int32_t exponentLimit = 1100;

    std::int64_t mantissa = 0;
    std::int32_t exponent = 0;

    // Normalizes ±magnitude × 10^exponent; nothing when more than `maxDigits` digits remain or
    // the exponent leaves the limit.
    static std::optional<CompactDecimal> make(bool negative, std::uint64_t magnitude,
                                              std::int64_t exponent);
    static std::optional<CompactDecimal> fromInteger(long long value);
    // The value of scanned text; nothing when its digits run too long to read quickly (the
    // general reader takes those, and still makes a compact value of long runs of zeros).
    static std::optional<CompactDecimal> fromText(const DecimalText& text);
    // The short road for the texts amounts nearly always have: "[-]digits[.digits]" with at most
    // `maxDigits` digits in all. Nothing for any other text, which the general reader takes.
    static std::optional<CompactDecimal> fromPlainText(std::string_view text);

    static std::uint64_t powerOfTen(int n);

    bool isZero() const { return mantissa == 0; }
    bool isNegative() const { return mantissa < 0; }
    std::uint64_t magnitude() const
    {
        const auto value = static_cast<std::uint64_t>(mantissa);
        return mantissa < 0 ? 0 - value : value;
    }
    int digitCount() const;
    std::int64_t leadingExponent() const { return exponent + digitCount() - 1; }
    CompactDecimal negated() const { return {-mantissa, exponent}; }

    std::string toString() const;
    // The nearest double; beyond the double range it saturates to the largest one or to zero.
    double toDouble() const;

    // Exact results, or nothing when they do not fit the compact form.
    std::optional<CompactDecimal> plus(const CompactDecimal& other) const;
    std::optional<CompactDecimal> times(const CompactDecimal& other) const;
    // Down to 10^-places: half away from zero, or else toward minus infinity.
    std::optional<CompactDecimal> rounded(int places, bool halfAwayFromZero) const;

    friend bool operator==(const CompactDecimal&, const CompactDecimal&) = default;
    friend std::strong_ordering operator<=>(const CompactDecimal& a, const CompactDecimal& b);
};

}  // namespace vantrell
