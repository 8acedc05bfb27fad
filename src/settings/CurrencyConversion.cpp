#include "settings/CurrencyConversion.h"

#include "settings/CurrencyFormatter.h"

#include <array>
#include <charconv>

namespace vantrell {

namespace {

Decimal rateOrZero(const CurrencyRates& rates, const QString& code)
{
    return rates.value(code, Decimal(0));
}

}  // namespace

std::optional<Decimal> CurrencyConversion::convert(const Decimal& amountUSD,
                                                   DisplayCurrency currency,
                                                   const CurrencyRates& rates)
{
    if (currency == DisplayCurrency::usd || currency == DisplayCurrency::usdt) {
        return amountUSD;
    }
    const Decimal usdPerEuro = rateOrZero(rates, QStringLiteral("USD"));
    if (usdPerEuro.isZero()) {
        return std::nullopt;
    }
    const Decimal targetPerEuro =
        currency == DisplayCurrency::eur ? Decimal(1) : rateOrZero(rates, toStored(currency));
    if (targetPerEuro.isZero()) {
        return std::nullopt;
    }
    return amountUSD * targetPerEuro / usdPerEuro;
}

QString CurrencyConversion::performanceSummary(const Decimal& pnlUSD, const Decimal& percent,
                                               DisplayCurrency currency, const CurrencyRates& rates)
{
    const std::optional<Decimal> converted = convert(pnlUSD, currency, rates);
    const QString amount =
        converted ? CurrencyFormatter::money(*converted, currency, false) : QStringLiteral("—");
    const double percentValue = percent.toDouble();
    return (pnlUSD > Decimal(0) ? QStringLiteral("+") : QString()) + amount +
           QStringLiteral("  (") + (percentValue > 0 ? QStringLiteral("+") : QString()) +
           twoDecimals(percentValue) + QStringLiteral("%)");
}

QString CurrencyConversion::twoDecimals(double value)
{
    // Large enough for the longest fixed-notation double (309 integer digits).
    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, 2);
    if (error != std::errc()) {
        return QStringLiteral("0.00");
    }
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

}  // namespace vantrell
