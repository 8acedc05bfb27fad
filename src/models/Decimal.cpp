#include "models/Decimal.h"

#include "models/DecimalDigits.h"
#include "models/DecimalText.h"

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
// Significant digits kept by a quotient.
constexpr std::size_t quotientDigits = 38;
// The backend scales by small factors in one pass over its limbs; from 10^8 on it falls back
// to a full multiplication or division.
constexpr int scaleStep = 7;

bool withinParseLimits(std::int64_t leadingExponent)
{
    return std::abs(leadingExponent) <= maxLeadingExponent;
}

bool withinParseLimits(const CompactDecimal& value)
{
    // The leading digit lies at most 17 places above the last one, so most values need no count.
    const bool clearOfEdges = value.exponent >= -maxLeadingExponent &&
                              value.exponent + CompactDecimal::maxDigits - 1 <= maxLeadingExponent;
    return clearOfEdges || value.isZero() || withinParseLimits(value.leadingExponent());
}

DecFloat toBackend(const DecimalDigits& value)
{
    try {
        DecFloat result(value.scientificText().c_str());
        return boost::multiprecision::isfinite(result) ? result : DecFloat(0);
    } catch (const std::exception&) {
        return DecFloat(0);
    }
}

// Exact: the mantissa fits the backend's first limbs, and scaling by powers of ten only moves
// at most 25 digits across limbs; a terminating quotient leaves no remainder to round.
DecFloat toBackend(const CompactDecimal& value)
{
    DecFloat result(static_cast<unsigned long long>(value.magnitude()));
    for (int rest = value.exponent; rest > 0; rest -= scaleStep) {
        result.backend().mul_unsigned_long_long(
            CompactDecimal::powerOfTen(std::min(rest, scaleStep)));
    }
    for (int rest = -value.exponent; rest > 0; rest -= scaleStep) {
        result.backend().div_unsigned_long_long(
            CompactDecimal::powerOfTen(std::min(rest, scaleStep)));
    }
    return value.isNegative() ? -result : result;
}

// The backend's scientific text ("-d.ddd…e+NN") holds every stored digit.
DecimalDigits fromBackend(const DecFloat& value)
{
    DecimalDigits result;
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
        if (text[i] >= '0' && text[i] <= '9') {
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
    result.exponent = DecimalText::readExponent(text, pos).value_or(0) -
                      static_cast<std::int64_t>(digitsAfterPoint);
    result.normalize();
    return result;
}

DecimalDigits digitsOf(const CompactDecimal& value)
{
    if (value.isZero()) {
        return {};
    }
    char buffer[24];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, value.magnitude()).ptr;
    return {value.isNegative(), std::string(buffer, end), value.exponent};
}

std::optional<CompactDecimal> compactOf(const DecimalDigits& value)
{
    if (value.digits.size() > static_cast<std::size_t>(CompactDecimal::maxDigits)) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    std::from_chars(value.digits.data(), value.digits.data() + value.digits.size(), magnitude);
    return CompactDecimal::make(value.negative, magnitude, value.exponent);
}

DecFloat finiteOrZero(DecFloat value)
{
    return boost::multiprecision::isfinite(value) ? value : DecFloat(0);
}

// Texts up to this length are narrowed on the stack. Only ASCII can be part of a number, so any
// other character refuses the text at once.
constexpr qsizetype shortText = 64;

}  // namespace

Decimal::Decimal(int value) : Decimal(static_cast<long long>(value)) {}

Decimal::Decimal(long long value)
{
    if (const auto compactValue = CompactDecimal::fromInteger(value)) {
        m_value = *compactValue;
    } else {
        m_value = Backend(value);
    }
}

std::optional<Decimal> Decimal::parse(std::string_view text)
{
    // At most 18 digits and no exponent: well inside the parse limits.
    if (const auto plain = CompactDecimal::fromPlainText(text)) {
        return Decimal(*plain);
    }
    DecimalText scanned;
    if (!scanned.read(text)) {
        return std::nullopt;
    }
    if (const auto compactValue = CompactDecimal::fromText(scanned)) {
        if (!withinParseLimits(*compactValue)) {
            return std::nullopt;
        }
        return Decimal(*compactValue);
    }
    const DecimalDigits digits = DecimalDigits::fromText(scanned);
    if (!digits.isZero() && !withinParseLimits(digits.leadingExponent())) {
        return std::nullopt;
    }
    return fromDigits(digits);
}

std::optional<Decimal> Decimal::parse(const QString& text)
{
    if (text.size() > shortText) {
        const QByteArray utf8 = text.toUtf8();
        return parse(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    }
    char buffer[shortText];
    const QChar* units = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = units[i].unicode();
        if (unit >= 0x80) {
            return std::nullopt;
        }
        buffer[i] = static_cast<char>(unit);
    }
    return parse(std::string_view(buffer, static_cast<std::size_t>(text.size())));
}

Decimal Decimal::amountOrZero(const std::optional<QString>& text)
{
    if (!text) {
        return Decimal();
    }
    return parse(*text).value_or(Decimal());
}

Decimal Decimal::fromDigits(const DecimalDigits& digits)
{
    if (const auto compactValue = compactOf(digits)) {
        return Decimal(*compactValue);
    }
    return Decimal(toBackend(digits));
}

const Decimal::Backend& Decimal::wide(Backend& scratch) const
{
    if (const CompactDecimal* value = compact()) {
        scratch = toBackend(*value);
        return scratch;
    }
    return std::get<Backend>(m_value);
}

DecimalDigits Decimal::digits() const
{
    if (const CompactDecimal* value = compact()) {
        return digitsOf(*value);
    }
    return fromBackend(std::get<Backend>(m_value));
}

std::string Decimal::toString() const
{
    if (const CompactDecimal* value = compact()) {
        return value->toString();
    }
    return digits().plainText();
}

QString Decimal::toQString() const
{
    return QString::fromStdString(toString());
}

double Decimal::toDouble() const
{
    if (const CompactDecimal* value = compact()) {
        return value->toDouble();
    }
    const DecimalDigits value = digits();
    const std::string text = value.scientificText();
    double result = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (ec == std::errc::result_out_of_range) {
        // Saturate instead of producing an infinity that charts and JSON cannot use.
        const bool large = value.leadingExponent() > 0;
        const double magnitude = large ? std::numeric_limits<double>::max() : 0.0;
        return isNegative() ? -magnitude : magnitude;
    }
    return result;
}

bool Decimal::isZero() const
{
    if (const CompactDecimal* value = compact()) {
        return value->isZero();
    }
    return std::get<Backend>(m_value).is_zero();
}

bool Decimal::isNegative() const
{
    if (const CompactDecimal* value = compact()) {
        return value->isNegative();
    }
    return std::get<Backend>(m_value).sign() < 0;
}

Decimal Decimal::abs() const
{
    return isNegative() ? -*this : *this;
}

Decimal Decimal::rounded(int places, Rounding rounding) const
{
    const bool halfAway = rounding == Rounding::halfAwayFromZero;
    if (const CompactDecimal* compactValue = compact()) {
        if (const auto result = compactValue->rounded(places, halfAway)) {
            return Decimal(*result);
        }
    }
    const DecimalDigits value = digits();
    const std::int64_t exponent = -static_cast<std::int64_t>(places);
    if (value.isZero() || value.exponent >= exponent) {
        return *this;
    }
    // The dropped part is never zero here: `value` has no trailing zeros.
    bool roundAway = value.negative;
    if (halfAway) {
        const std::int64_t firstDropped = value.leadingExponent() - (exponent - 1);
        roundAway =
            firstDropped >= 0 && value.digits[static_cast<std::size_t>(firstDropped)] >= '5';
    }
    return fromDigits(value.cut(exponent, roundAway));
}

Decimal Decimal::operator-() const
{
    if (const CompactDecimal* value = compact()) {
        return Decimal(value->negated());
    }
    if (isZero()) {
        return Decimal();
    }
    return Decimal(-std::get<Backend>(m_value));
}

Decimal& Decimal::operator+=(const Decimal& other)
{
    if (compact() != nullptr && other.compact() != nullptr) {
        if (const auto sum = compact()->plus(*other.compact())) {
            m_value = *sum;
            return *this;
        }
    }
    Backend left;
    Backend right;
    m_value = finiteOrZero(wide(left) + other.wide(right));
    return *this;
}

Decimal& Decimal::operator-=(const Decimal& other)
{
    if (compact() != nullptr && other.compact() != nullptr) {
        if (const auto difference = compact()->plus(other.compact()->negated())) {
            m_value = *difference;
            return *this;
        }
    }
    Backend left;
    Backend right;
    m_value = finiteOrZero(wide(left) - other.wide(right));
    return *this;
}

Decimal& Decimal::operator*=(const Decimal& other)
{
    if (compact() != nullptr && other.compact() != nullptr) {
        if (const auto product = compact()->times(*other.compact())) {
            m_value = *product;
            return *this;
        }
    }
    Backend left;
    Backend right;
    m_value = finiteOrZero(wide(left) * other.wide(right));
    return *this;
}

// Long division on the exact digits, so the quotient is correctly rounded to 38 significant
// digits (the backend divides through an approximate reciprocal).
Decimal& Decimal::operator/=(const Decimal& other)
{
    using boost::multiprecision::cpp_int;
    const DecimalDigits dividend = digits();
    const DecimalDigits divisor = other.digits();
    if (dividend.isZero() || divisor.isZero()) {
        m_value = CompactDecimal{};
        return *this;
    }
    // Scale the dividend so the integer quotient has at least one digit beyond those kept.
    const std::size_t wanted = quotientDigits + 1 + divisor.digits.size();
    const std::size_t shift =
        dividend.digits.size() >= wanted ? 0 : wanted - dividend.digits.size();
    cpp_int numerator(dividend.digits);
    numerator *= boost::multiprecision::pow(cpp_int(10), static_cast<unsigned>(shift));
    const cpp_int quotient = numerator / cpp_int(divisor.digits);

    DecimalDigits exact{dividend.negative != divisor.negative, quotient.str(),
                        dividend.exponent - divisor.exponent - static_cast<std::int64_t>(shift)};
    const std::int64_t keepFrom =
        exact.leadingExponent() - static_cast<std::int64_t>(quotientDigits - 1);
    const bool roundAway = exact.digits[quotientDigits] >= '5';
    *this = fromDigits(exact.cut(keepFrom, roundAway));
    return *this;
}

bool operator==(const Decimal& a, const Decimal& b)
{
    if (a.compact() != nullptr && b.compact() != nullptr) {
        return *a.compact() == *b.compact();
    }
    Decimal::Backend left;
    Decimal::Backend right;
    return a.wide(left) == b.wide(right);
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b)
{
    if (a.compact() != nullptr && b.compact() != nullptr) {
        return *a.compact() <=> *b.compact();
    }
    Decimal::Backend left;
    Decimal::Backend right;
    const Decimal::Backend& wideA = a.wide(left);
    const Decimal::Backend& wideB = b.wide(right);
    if (wideA < wideB) {
        return std::strong_ordering::less;
    }
    if (wideB < wideA) {
        return std::strong_ordering::greater;
    }
    return std::strong_ordering::equal;
}

}  // namespace vantrell
