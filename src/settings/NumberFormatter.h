#pragma once

#include "models/Decimal.h"

#include <QLocale>
#include <QString>

#include <string_view>

namespace vantrell {

// Turns an exact decimal into display text in one locale: plain decimal style or the locale's
// currency style with a given symbol. The value is rounded in decimal first and its digits are
// laid out with the locale's digits and separators, so cents survive however large the amount
// (up to 2^64 - 1 in the integer part; beyond that the integer part goes through `double`).
class NumberFormatter {
public:
    enum class Style { decimal, currency };

    // Grouping is always on, whatever number options the locale carries.
    static NumberFormatter decimal(const QLocale& locale, int minimumFractionDigits,
                                   int maximumFractionDigits, Decimal::Rounding rounding);
    static NumberFormatter currency(const QLocale& locale, const QString& currencyCode,
                                    const QString& currencySymbol, int fractionDigits,
                                    Decimal::Rounding rounding);

    // The display text, or an empty string when the value cannot be laid out.
    QString format(const Decimal& value) const;

    const QLocale& locale() const { return m_locale; }
    Style style() const { return m_style; }
    const QString& currencyCode() const { return m_currencyCode; }
    const QString& currencySymbol() const { return m_currencySymbol; }
    int minimumFractionDigits() const { return m_minimumFractionDigits; }
    int maximumFractionDigits() const { return m_maximumFractionDigits; }
    Decimal::Rounding rounding() const { return m_rounding; }

private:
    NumberFormatter(const QLocale& locale, Style style, int minimumFractionDigits,
                    int maximumFractionDigits, Decimal::Rounding rounding);

    QString integerText(std::string_view digits) const;
    QString fractionText(std::string_view digits) const;
    QString currencyText(const QString& magnitude, bool negative) const;

    QLocale m_locale;
    Style m_style = Style::decimal;
    QString m_currencyCode;
    QString m_currencySymbol;
    int m_minimumFractionDigits = 0;
    int m_maximumFractionDigits = 0;
    Decimal::Rounding m_rounding = Decimal::Rounding::halfAwayFromZero;
};

}  // namespace vantrell
