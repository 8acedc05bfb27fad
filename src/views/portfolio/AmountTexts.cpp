#include "views/portfolio/AmountTexts.h"

#include "settings/AppSettings.h"
#include "settings/CurrencyConversion.h"
#include "settings/CurrencyFormatter.h"

namespace vantrell {

AmountTexts AmountTexts::from(const AppSettings& settings)
{
    return {settings.displayCurrency(), settings.currencyRates()};
}

QString AmountTexts::money(const Decimal& amountUSD) const
{
    const std::optional<Decimal> converted =
        CurrencyConversion::convert(amountUSD, currency, rates);
    if (!converted) {
        return QStringLiteral("—");
    }
    return CurrencyFormatter::money(*converted, currency, false);
}

QString AmountTexts::moneyPlusUnlessNegative(const Decimal& amountUSD) const
{
    return (amountUSD.isNegative() ? QString() : QStringLiteral("+")) + money(amountUSD);
}

QString AmountTexts::moneyPlusWhenPositive(const Decimal& amountUSD) const
{
    return (amountUSD > Decimal(0) ? QStringLiteral("+") : QString()) + money(amountUSD);
}

QString AmountTexts::performanceSummary(const Decimal& pnlUSD, const Decimal& percent) const
{
    return CurrencyConversion::performanceSummary(pnlUSD, percent, currency, rates);
}

QString AmountTexts::quantity(const Decimal& value, int digits)
{
    const QString text = CurrencyFormatter::formatter(std::nullopt, digits, false)->format(value);
    return text.isEmpty() ? QStringLiteral("0") : text;
}

QString AmountTexts::percent(const Decimal& percent)
{
    const double value = percent.toDouble();
    return (value > 0 ? QStringLiteral("+") : QString()) + CurrencyConversion::twoDecimals(value) +
           u'%';
}

}  // namespace vantrell
