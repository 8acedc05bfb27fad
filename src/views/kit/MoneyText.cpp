#include "views/kit/MoneyText.h"

#include "settings/AppSettings.h"
#include "settings/CurrencyConversion.h"
#include "settings/CurrencyFormatter.h"

namespace vantrell {

QString MoneyText::placeholder()
{
    return QStringLiteral("—");
}

QString MoneyText::amount(const AppSettings& settings, const Decimal& amountUSD, bool whole)
{
    const std::optional<Decimal> converted = settings.convertedAmount(amountUSD);
    if (!converted) {
        return placeholder();
    }
    return CurrencyFormatter::money(*converted, settings.displayCurrency(), whole);
}

QString MoneyText::signedPercent(const Decimal& percent)
{
    const double value = percent.toDouble();
    return (value > 0 ? QStringLiteral("+") : QString()) + CurrencyConversion::twoDecimals(value) +
           QStringLiteral("%");
}

QString MoneyText::periodLabel(PerformancePeriod period)
{
    return period == PerformancePeriod::today ? QStringLiteral("今日") : QStringLiteral("24h");
}

}  // namespace vantrell
