#include "models/Decimal.h"

#include <boost/multiprecision/cpp_int.hpp>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace vantrell {

namespace {

using DecFloat = boost::multiprecision::number<boost::multiprecision::cpp_dec_float<50>,
                                               boost::multiprecision::et_off>;

// Values whose leading digit lies beyond 10^±1000 are refused when parsing: no amount comes
// near them, and their plain text would run to thousands of characters.
constexpr std::int64_t maxLeadingExponent = 1000;
// Exponent texts are read with saturation so "1e99999999999999999999" cannot overflow.
constexpr std::int64_t exponentSaturation = std::int64_t{1} << 40;
// Significant digits kept by a quotient.
constexpr std::size_t quotientDigits = 38;

// A decimal value split into its digits: value = ±digits × 10^exponent, where `digits` has
// no leading or trailing zeros (empty for zero) and `exponent` is the power of its last digit.
struct Digits {
    bool negative = false;
    std::string digits;
    std::int64_t exponent = 0;

    bool isZero() const { return digits.empty(); }
    std::int64_t leadingExponent() const
    {
        return exponent + static_cast<std::int64_t>(digits.size()) - 1;
    }
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view takeDigits(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

// Drops leading and trailing zeros, moving the exponent along with the trailing ones.
void normalize(Digits& value)
{
    const auto first = value.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        value = Digits{};
        return;
    }
    const auto last = value.digits.find_last_not_of('0');
    value.exponent += static_cast<std::int64_t>(value.digits.size() - 1 - last);
    value.digits = value.digits.substr(first, last - first + 1);
}

// Reads "[+-]digits" after the exponent marker, saturating very long exponents.
std::optional<std::int64_t> parseExponent(std::string_view text, std::size_t& pos)
{
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::string_view digits = takeDigits(text, pos);
    if (digits.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : digits) {
        value = std::min(value * 10 + (c - '0'), exponentSaturation);
    }
    return negative ? -value : value;
}

// The strict grammar: [+-] (digits [. [digits]] | . digits) [(e|E) [+-] digits].
std::optional<Digits> parseDigits(std::string_view text)
{
    Digits result;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        result.negative = text[pos] == '-';
        ++pos;
    }
    const std::string_view whole = takeDigits(text, pos);
    std::string_view fraction;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        fraction = takeDigits(text, pos);
    }
    if (whole.empty() && fraction.empty()) {
        return std::nullopt;
    }
    std::int64_t exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        const auto parsed = parseExponent(text, ++pos);
        if (!parsed) {
            return std::nullopt;
        }
        exponent = *parsed;
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    result.digits.reserve(whole.size() + fraction.size());
    result.digits.append(whole).append(fraction);
    result.exponent = exponent - static_cast<std::int64_t>(fraction.size());
    normalize(result);
    return result;
}

void appendNumber(std::string& out, std::int64_t value)
{
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, end);
}

// "±digitsEexponent": the form both the backend and std::from_chars read exactly.
std::string scientificText(const Digits& value)
{
    if (value.isZero()) {
        return "0";
    }
    std::string text = value.negative ? "-" : "";
    text += value.digits;
    text += 'e';
    appendNumber(text, value.exponent);
    return text;
}

DecFloat toBackend(const Digits& value)
{
    try {
        DecFloat result(scientificText(value).c_str());
        return boost::multiprecision::isfinite(result) ? result : DecFloat(0);
    } catch (const std::exception&) {
        return DecFloat(0);
    }
}

// The backend's scientific text ("-d.ddd…e+NN") holds every stored digit.
Digits fromBackend(const DecFloat& value)
{
    Digits result;
    if (value.is_zero() || !boost::multiprecision::isfinite(value)) {
        return result;
    }
    const std::string text = value.backend().str(0, std::ios_base::scientific);
    const std::size_t marker = text.find('e');
    if (marker == std::string::npos) {
        return result;
    }
    std::size_t digitsAfterPoint = 0;
    for (std::size_t i = 0; i < marker; ++i) {
        if (isDigit(text[i])) {
            result.digits += text[i];
        } else if (text[i] == '-') {
            result.negative = true;
        }
    }
    const std::size_t point = text.find('.');
    if (point != std::string::npos && point < marker) {
        digitsAfterPoint = marker - point - 1;
    }
    std::size_t pos = marker + 1;
    result.exponent =
        parseExponent(text, pos).value_or(0) - static_cast<std::int64_t>(digitsAfterPoint);
    normalize(result);
    return result;
}

// Adds one unit in the last place of a digit string ("199" -> "200", "" -> "1").
void incrementDigits(std::string& digits)
{
    auto it = digits.rbegin();
    while (it != digits.rend() && *it == '9') {
        *it++ = '0';
    }
    if (it == digits.rend()) {
        digits.insert(digits.begin(), '1');
    } else {
        ++*it;
    }
}

// Keeps the digits down to 10^exponent; `roundAway` adds one unit there for the dropped rest.
Digits cutDigits(const Digits& value, std::int64_t exponent, bool roundAway)
{
    Digits result{value.negative, {}, exponent};
    const std::int64_t keep =
        static_cast<std::int64_t>(value.digits.size()) - (exponent - value.exponent);
    if (keep > 0) {
        result.digits = value.digits.substr(0, static_cast<std::size_t>(keep));
    }
    if (roundAway) {
        incrementDigits(result.digits);
    }
    normalize(result);
    return result;
}

std::string plainText(const Digits& value)
{
    if (value.isZero()) {
        return "0";
    }
    std::string text = value.negative ? "-" : "";
    const auto length = static_cast<std::int64_t>(value.digits.size());
    if (value.exponent >= 0) {
        text += value.digits;
        text.append(static_cast<std::size_t>(value.exponent), '0');
    } else if (-value.exponent < length) {
        const auto point = static_cast<std::size_t>(length + value.exponent);
        text.append(value.digits, 0, point).append(1, '.').append(value.digits, point);
    } else {
        text += "0.";
        text.append(static_cast<std::size_t>(-value.exponent - length), '0');
        text += value.digits;
    }
    return text;
}

DecFloat finiteOrZero(DecFloat value)
{
    return boost::multiprecision::isfinite(value) ? value : DecFloat(0);
}

}  // namespace

Decimal::Decimal(int value) : m_value(value) {}

Decimal::Decimal(long long value) : m_value(value) {}

std::optional<Decimal> Decimal::parse(std::string_view text)
{
    const auto digits = parseDigits(text);
    if (!digits) {
        return std::nullopt;
    }
    if (!digits->isZero() && std::abs(digits->leadingExponent()) > maxLeadingExponent) {
        return std::nullopt;
    }
    return Decimal(toBackend(*digits));
}

std::optional<Decimal> Decimal::parse(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return parse(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

Decimal Decimal::amountOrZero(const std::optional<QString>& text)
{
    if (!text) {
        return Decimal();
    }
    return parse(*text).value_or(Decimal());
}

std::string Decimal::toString() const
{
    return plainText(fromBackend(m_value));
}

QString Decimal::toQString() const
{
    return QString::fromStdString(toString());
}

double Decimal::toDouble() const
{
    const std::string text = scientificText(fromBackend(m_value));
    double result = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (ec == std::errc::result_out_of_range) {
        // Saturate instead of producing an infinity that charts and JSON cannot use.
        const bool large = fromBackend(m_value).leadingExponent() > 0;
        const double magnitude = large ? std::numeric_limits<double>::max() : 0.0;
        return isNegative() ? -magnitude : magnitude;
    }
    return result;
}

bool Decimal::isZero() const
{
    return m_value.is_zero();
}

bool Decimal::isNegative() const
{
    return m_value.sign() < 0;
}

Decimal Decimal::abs() const
{
    return isNegative() ? -*this : *this;
}

Decimal Decimal::rounded(int places, Rounding rounding) const
{
    const Digits value = fromBackend(m_value);
    const std::int64_t exponent = -static_cast<std::int64_t>(places);
    if (value.isZero() || value.exponent >= exponent) {
        return *this;
    }
    // The dropped part is never zero here: `value` has no trailing zeros.
    bool roundAway = value.negative;
    if (rounding == Rounding::halfAwayFromZero) {
        const std::int64_t firstDropped = value.leadingExponent() - (exponent - 1);
        roundAway =
            firstDropped >= 0 && value.digits[static_cast<std::size_t>(firstDropped)] >= '5';
    }
    return Decimal(toBackend(cutDigits(value, exponent, roundAway)));
}

Decimal Decimal::operator-() const
{
    if (isZero()) {
        return Decimal();
    }
    return Decimal(-m_value);
}

Decimal& Decimal::operator+=(const Decimal& other)
{
    m_value = finiteOrZero(m_value + other.m_value);
    return *this;
}

Decimal& Decimal::operator-=(const Decimal& other)
{
    m_value = finiteOrZero(m_value - other.m_value);
    return *this;
}

Decimal& Decimal::operator*=(const Decimal& other)
{
    m_value = finiteOrZero(m_value * other.m_value);
    return *this;
}

// Long division on the exact digits, so the quotient is correctly rounded to 38 significant
// digits (the backend divides through an approximate reciprocal).
Decimal& Decimal::operator/=(const Decimal& other)
{
    using boost::multiprecision::cpp_int;
    const Digits dividend = fromBackend(m_value);
    const Digits divisor = fromBackend(other.m_value);
    if (dividend.isZero() || divisor.isZero()) {
        m_value = 0;
        return *this;
    }
    // Scale the dividend so the integer quotient has at least one digit beyond those kept.
    const std::size_t wanted = quotientDigits + 1 + divisor.digits.size();
    const std::size_t shift =
        dividend.digits.size() >= wanted ? 0 : wanted - dividend.digits.size();
    cpp_int numerator(dividend.digits);
    numerator *= boost::multiprecision::pow(cpp_int(10), static_cast<unsigned>(shift));
    const cpp_int quotient = numerator / cpp_int(divisor.digits);

    Digits exact{dividend.negative != divisor.negative, quotient.str(),
                 dividend.exponent - divisor.exponent - static_cast<std::int64_t>(shift)};
    const std::int64_t keepFrom =
        exact.leadingExponent() - static_cast<std::int64_t>(quotientDigits - 1);
    const bool roundAway = exact.digits[quotientDigits] >= '5';
    m_value = toBackend(cutDigits(exact, keepFrom, roundAway));
    return *this;
}

bool operator==(const Decimal& a, const Decimal& b)
{
    return a.m_value == b.m_value;
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b)
{
    if (a.m_value < b.m_value) {
        return std::strong_ordering::less;
    }
    if (b.m_value < a.m_value) {
        return std::strong_ordering::greater;
    }
    return std::strong_ordering::equal;
}

}  // namespace vantrell
