#include "models/CompactDecimal.h"

#include "models/DecimalText.h"
#include "models/DigitWords.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace vantrell {

namespace {

__extension__ using Int128 = __int128;
__extension__ using UInt128 = unsigned __int128;

constexpr std::array<std::uint64_t, 20> powersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// Powers of ten that doubles hold exactly.
constexpr int exactPowers = 22;
constexpr std::array<double, exactPowers + 1> doublePowersOfTen = [] {
    std::array<double, exactPowers + 1> powers{};
    double power = 1;
    for (double& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

constexpr std::uint64_t compactBound = powersOfTen[CompactDecimal::maxDigits];

// Normalizes a wide exact result, which fits only once its trailing zeros are gone.
std::optional<CompactDecimal> fromWide(bool negative, UInt128 magnitude, std::int64_t exponent)
{
    while (magnitude >= compactBound) {
        if (magnitude % 10 != 0) {
            return std::nullopt;
        }
        magnitude /= 10;
        ++exponent;
    }
    return CompactDecimal::make(negative, static_cast<std::uint64_t>(magnitude), exponent);
}

std::strong_ordering compareMagnitudes(const CompactDecimal& a, const CompactDecimal& b)
{
    if (a.exponent == b.exponent) {
        return a.magnitude() <=> b.magnitude();
    }
    const std::int64_t leadingA = a.leadingExponent();
    const std::int64_t leadingB = b.leadingExponent();
    if (leadingA != leadingB) {
        return leadingA <=> leadingB;
    }
    // Same leading position: line both mantissas up on 18 digits.
    const std::uint64_t alignedA =
        a.magnitude() * CompactDecimal::powerOfTen(CompactDecimal::maxDigits - a.digitCount());
    const std::uint64_t alignedB =
        b.magnitude() * CompactDecimal::powerOfTen(CompactDecimal::maxDigits - b.digitCount());
    return alignedA <=> alignedB;
}

int signOf(std::int64_t value)
{
    return (value > 0) - (value < 0);
}

}  // namespace

std::optional<CompactDecimal> CompactDecimal::make(bool negative, std::uint64_t magnitude,
                                                   std::int64_t exponent)
{
    if (magnitude == 0) {
        return CompactDecimal{};
    }
    while (magnitude % 10 == 0) {
        magnitude /= 10;
        ++exponent;
    }
    if (magnitude >= compactBound || exponent > exponentLimit || exponent < -exponentLimit) {
        return std::nullopt;
    }
    const auto value = static_cast<std::int64_t>(magnitude);
    return CompactDecimal{negative ? -value : value, static_cast<std::int32_t>(exponent)};
}

std::optional<CompactDecimal> CompactDecimal::fromInteger(long long value)
{
    const auto magnitude = static_cast<std::uint64_t>(value);
    return make(value < 0, value < 0 ? 0 - magnitude : magnitude, 0);
}

std::optional<CompactDecimal> CompactDecimal::fromText(const DecimalText& text)
{
    // The text's reading is exact up to 19 digits; `make` drops the trailing zeros.
    if (text.significantDigits > maxDigits + 1) {
        return std::nullopt;
    }
    return make(text.negative, text.digitValue,
                text.exponent - static_cast<std::int64_t>(text.fraction.size()));
}

std::optional<CompactDecimal> CompactDecimal::fromPlainText(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    std::size_t pos = negative ? 1 : 0;
    std::uint64_t value = 0;
    const std::size_t whole = digitWords::read(text, pos, value);
    std::size_t fraction = 0;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        fraction = digitWords::read(text, pos, value);
        if (fraction == 0) {
            return std::nullopt;
        }
    }
    // Longer texts may have wrapped `value`; they are not plain.
    if (whole == 0 || pos != text.size() || whole + fraction > maxDigits) {
        return std::nullopt;
    }
    return make(negative, value, -static_cast<std::int64_t>(fraction));
}

std::uint64_t CompactDecimal::powerOfTen(int n)
{
    return powersOfTen[static_cast<std::size_t>(n)];
}

int CompactDecimal::digitCount() const
{
    // bit_width × log10(2) undercounts by at most one digit.
    const std::uint64_t value = std::max<std::uint64_t>(magnitude(), 1);
    const auto guess = static_cast<std::size_t>(std::bit_width(value) * 1233 >> 12);
    return static_cast<int>(guess) + (value >= powersOfTen[guess] ? 1 : 0);
}

std::string CompactDecimal::toString() const
{
    if (isZero()) {
        return "0";
    }
    char digits[24];
    const auto length = static_cast<std::int64_t>(
        std::to_chars(digits, digits + sizeof digits, magnitude()).ptr - digits);
    std::string text = isNegative() ? "-" : "";
    if (exponent >= 0) {
        text.append(digits, static_cast<std::size_t>(length));
        text.append(static_cast<std::size_t>(exponent), '0');
    } else if (-exponent < length) {
        const auto point = static_cast<std::size_t>(length + exponent);
        text.append(digits, point).append(1, '.');
        text.append(digits + point, static_cast<std::size_t>(length) - point);
    } else {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - length), '0');
        text.append(digits, static_cast<std::size_t>(length));
    }
    return text;
}

double CompactDecimal::toDouble() const
{
    // Both factors exact as doubles: one correctly rounded operation gives the nearest double.
    constexpr std::int64_t exactMantissa = std::int64_t{1} << 53;
    if (mantissa > -exactMantissa && mantissa < exactMantissa && exponent >= -exactPowers &&
        exponent <= exactPowers) {
        const auto value = static_cast<double>(mantissa);
        const double scale = doublePowersOfTen[static_cast<std::size_t>(std::abs(exponent))];
        return exponent < 0 ? value / scale : value * scale;
    }
    // "<mantissa>e<exponent>": std::from_chars reads it to the nearest double.
    char text[48];
    char* marker = std::to_chars(text, text + 24, mantissa).ptr;
    *marker = 'e';
    const char* end = std::to_chars(marker + 1, text + sizeof text, exponent).ptr;
    double result = 0;
    if (std::from_chars(text, end, result).ec == std::errc::result_out_of_range) {
        // Saturate instead of producing an infinity that charts and JSON cannot use.
        const double limit = leadingExponent() > 0 ? std::numeric_limits<double>::max() : 0.0;
        return isNegative() ? -limit : limit;
    }
    return result;
}

std::optional<CompactDecimal> CompactDecimal::plus(const CompactDecimal& other) const
{
    if (isZero() || other.isZero()) {
        return isZero() ? other : *this;
    }
    const std::int32_t low = std::min(exponent, other.exponent);
    const int shift = exponent - low;
    const int otherShift = other.exponent - low;
    // Digits further apart than this never fit together.
    if (std::max(shift, otherShift) > maxDigits) {
        return std::nullopt;
    }
    const Int128 sum =
        Int128{mantissa} * powerOfTen(shift) + Int128{other.mantissa} * powerOfTen(otherShift);
    const auto wide = static_cast<UInt128>(sum);
    return fromWide(sum < 0, sum < 0 ? 0 - wide : wide, low);
}

std::optional<CompactDecimal> CompactDecimal::times(const CompactDecimal& other) const
{
    if (isZero() || other.isZero()) {
        return CompactDecimal{};
    }
    const UInt128 product = UInt128{magnitude()} * other.magnitude();
    return fromWide(isNegative() != other.isNegative(), product,
                    std::int64_t{exponent} + other.exponent);
}

std::optional<CompactDecimal> CompactDecimal::rounded(int places, bool halfAwayFromZero) const
{
    const std::int64_t kept = -static_cast<std::int64_t>(places);
    if (isZero() || exponent >= kept) {
        return *this;
    }
    // The dropped part is never zero: the mantissa has no trailing zeros. Past 18 dropped
    // digits everything goes, and the first dropped digit lies above the leading one.
    const std::int64_t dropped = kept - exponent;
    std::uint64_t head = 0;
    std::uint64_t firstDropped = 0;
    if (dropped <= maxDigits) {
        const std::uint64_t unit = powerOfTen(static_cast<int>(dropped));
        head = magnitude() / unit;
        firstDropped = magnitude() % unit / powerOfTen(static_cast<int>(dropped) - 1);
    }
    const bool roundAway = halfAwayFromZero ? firstDropped >= 5 : isNegative();
    return make(isNegative(), head + (roundAway ? 1 : 0), kept);
}

std::strong_ordering operator<=>(const CompactDecimal& a, const CompactDecimal& b)
{
    const int signA = signOf(a.mantissa);
    const int signB = signOf(b.mantissa);
    if (signA != signB || signA == 0) {
        return signA <=> signB;
    }
    const std::strong_ordering magnitudes = compareMagnitudes(a, b);
    return signA > 0 ? magnitudes : 0 <=> magnitudes;
}

}  // namespace vantrell
