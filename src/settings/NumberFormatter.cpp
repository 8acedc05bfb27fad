#include "settings/NumberFormatter.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

namespace vantrell {

namespace {

bool isDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

NumberFormatter::NumberFormatter(const QLocale& locale, Style style, int minimumFractionDigits,
                                 int maximumFractionDigits, Decimal::Rounding rounding)
    : m_locale(locale),
      m_style(style),
      m_minimumFractionDigits(minimumFractionDigits),
      m_maximumFractionDigits(maximumFractionDigits),
      m_rounding(rounding)
{
    m_locale.setNumberOptions(m_locale.numberOptions() & ~QLocale::OmitGroupSeparator);
}

NumberFormatter NumberFormatter::decimal(const QLocale& locale, int minimumFractionDigits,
                                         int maximumFractionDigits, Decimal::Rounding rounding)
{
    return NumberFormatter(locale, Style::decimal, minimumFractionDigits, maximumFractionDigits,
                           rounding);
}

NumberFormatter NumberFormatter::currency(const QLocale& locale, const QString& currencyCode,
                                          const QString& currencySymbol, int fractionDigits,
                                          Decimal::Rounding rounding)
{
    NumberFormatter formatter(locale, Style::currency, fractionDigits, fractionDigits, rounding);
    formatter.m_currencyCode = currencyCode;
    formatter.m_currencySymbol = currencySymbol;
    return formatter;
}

QString NumberFormatter::format(const Decimal& value) const
{
    // Decimal's plain text has no exponent, no grouping and never "-0", so after rounding it is
    // exactly sign, integer digits and at most the wanted fraction digits.
    const std::string plain = value.rounded(m_maximumFractionDigits, m_rounding).toString();
    std::string_view text = plain;
    const bool negative = text.starts_with('-');
    if (negative) {
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    const std::string_view integerDigits = text.substr(0, point);
    const std::string_view fractionDigits =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (integerDigits.empty() || !isDigits(integerDigits) || !isDigits(fractionDigits)) {
        return {};
    }
    QString magnitude = integerText(integerDigits);
    const QString fraction = fractionText(fractionDigits);
    if (!fraction.isEmpty()) {
        magnitude += m_locale.decimalPoint() + fraction;
    }
    if (m_style == Style::currency) {
        return currencyText(magnitude, negative);
    }
    return negative ? m_locale.negativeSign() + magnitude : magnitude;
}

// QLocale knows the grouping rules (sizes, separators, native digits) but only for machine
// integers and doubles; integers up to 2^64 - 1 cover any real portfolio exactly.
QString NumberFormatter::integerText(std::string_view digits) const
{
    std::uint64_t integer = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), integer);
    if (error == std::errc{} && end == digits.data() + digits.size()) {
        return m_locale.toString(static_cast<qulonglong>(integer));
    }
    const auto huge = Decimal::parse(digits);
    return huge ? m_locale.toString(huge->toDouble(), 'f', 0) : QString();
}

// Fraction digits are written one by one in the locale's digits and padded with zeros to the
// minimum count, as QLocale would write them.
QString NumberFormatter::fractionText(std::string_view digits) const
{
    std::string padded(digits);
    if (padded.size() < static_cast<std::size_t>(std::max(m_minimumFractionDigits, 0))) {
        padded.resize(static_cast<std::size_t>(m_minimumFractionDigits), '0');
    }
    if (m_locale.zeroDigit() == QLatin1String("0")) {
        return QString::fromLatin1(padded.data(), static_cast<qsizetype>(padded.size()));
    }
    QString text;
    for (const char digit : padded) {
        text += m_locale.toString(digit - '0');
    }
    return text;
}

// QLocale places the symbol of a currency amount (before or after, with or without a space) but
// formats only doubles. It is asked for the pattern of the amount 1 with a placeholder symbol, and
// the exact digits and the real symbol are put in its place. A negative amount gets the locale's
// minus sign in front, the standard currency form: QLocale's own negative form is the accounting
// one ("($1,235)" in en_US), which reads as a balance sheet rather than a loss.
QString NumberFormatter::currencyText(const QString& magnitude, bool negative) const
{
    const QString placeholder(QChar(0xE000));
    QString pattern = m_locale.toCurrencyString(qlonglong{1}, placeholder);
    const QString one = m_locale.toString(1);
    const qsizetype at = pattern.indexOf(one);
    if (at < 0) {
        return {};
    }
    pattern.replace(at, one.size(), magnitude);
    pattern.replace(placeholder, m_currencySymbol);
    return negative ? m_locale.negativeSign() + pattern : pattern;
}

}  // namespace vantrell
