#pragma once

#include "models/CompactDecimal.h"

#include <QString>

#include <boost/multiprecision/cpp_dec_float.hpp>

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace vantrell {

struct DecimalDigits;

// An exact decimal number for every amount the program handles. Amounts never pass through
// `double` on their way from a reply to a file; `toDouble()` exists only for display maths.
// Results keep at least 38 significant digits; quotients are rounded to 38 significant digits.
// Values of up to 18 significant digits are held compactly and worked on directly where that is
// simple and exact; everything else goes through the wide backend. Both forms compare, print
// and compute alike.
class Decimal {
public:
    enum class Rounding {
        halfAwayFromZero,  // "half up": 0.005 -> 0.01, -0.005 -> -0.01
        down,              // toward minus infinity: 1.99 -> 1, -1.01 -> -2
    };

    Decimal() = default;
    Decimal(int value);        // NOLINT(google-explicit-constructor): integers are exact
    Decimal(long long value);  // NOLINT(google-explicit-constructor)

    // Strict POSIX parsing: optional sign, digits with an optional "." fraction, optional
    // exponent ("1e-8", "2E+3"). No blanks, no grouping, no prefix reading ("12abc" fails).
    // Empty, malformed, non-finite or absurd-exponent text gives nothing. Never throws.
    static std::optional<Decimal> parse(std::string_view text);
    static std::optional<Decimal> parse(const QString& text);
    static std::optional<Decimal> parse(const char* text) { return parse(std::string_view(text)); }

    // The amount rule of the connectors: absent or unparsable text counts as 0.
    static Decimal amountOrZero(const std::optional<QString>& text);

    // Plain text: all digits, "." only when a fraction remains, no trailing fractional zeros,
    // no exponent, no grouping, "-" only for values below zero (never "-0").
    std::string toString() const;
    QString toQString() const;

    // Nearest double, for charts and percentages only.
    double toDouble() const;

    bool isZero() const;
    bool isNegative() const;
    Decimal abs() const;
    Decimal rounded(int places, Rounding rounding) const;

    Decimal operator-() const;
    Decimal& operator+=(const Decimal& other);
    Decimal& operator-=(const Decimal& other);
    Decimal& operator*=(const Decimal& other);
    // Division by zero gives zero rather than a non-finite value; callers check the divisor
    // where a zero divisor means "no result".
    Decimal& operator/=(const Decimal& other);

    friend Decimal operator+(Decimal a, const Decimal& b) { return a += b; }
    friend Decimal operator-(Decimal a, const Decimal& b) { return a -= b; }
    friend Decimal operator*(Decimal a, const Decimal& b) { return a *= b; }
    friend Decimal operator/(Decimal a, const Decimal& b) { return a /= b; }

    friend bool operator==(const Decimal& a, const Decimal& b);
    friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);

private:
    using Backend = boost::multiprecision::number<boost::multiprecision::cpp_dec_float<50>,
                                                  boost::multiprecision::et_off>;
    explicit Decimal(Backend value) : m_value(std::move(value)) {}
    explicit Decimal(CompactDecimal value) : m_value(value) {}
    static Decimal fromDigits(const DecimalDigits& digits);

    const CompactDecimal* compact() const { return std::get_if<CompactDecimal>(&m_value); }
    // The exact wide value: the stored one, or the compact one converted into `scratch`.
    const Backend& wide(Backend& scratch) const;
    DecimalDigits digits() const;

    std::variant<CompactDecimal, Backend> m_value;
};

}  // namespace vantrell
