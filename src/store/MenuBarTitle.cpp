#include "store/MenuBarTitle.h"

#include "settings/CurrencyConversion.h"
#include "settings/CurrencyFormatter.h"

#include <algorithm>

namespace vantrell {

namespace {

const QString placeholder = QStringLiteral("—");

QString wholeMoney(const Decimal& amountUSD, const AppSettings& settings)
{
    const auto converted = settings.convertedAmount(amountUSD);
    if (!converted) {
        return placeholder;
    }
    return CurrencyFormatter::money(*converted, settings.displayCurrency(), true);
}

QString totalText(const PortfolioSnapshot& snapshot, const AppSettings& settings)
{
    return snapshot.isLive ? wholeMoney(snapshot.totalValue, settings) : placeholder;
}

// Exchange totals are shown from cached data too: whether the snapshot is live does not matter.
QString exchangeText(const PortfolioSnapshot& snapshot, Exchange exchange,
                     const AppSettings& settings)
{
    const auto& accounts = snapshot.exchanges;
    const auto found = std::find_if(accounts.begin(), accounts.end(),
                                    [exchange](const auto& a) { return a.exchange == exchange; });
    return found == accounts.end() ? placeholder : wholeMoney(found->totalValue, settings);
}

QString totalWithChangeText(const PortfolioSnapshot& snapshot,
                            const std::optional<Decimal>& percent, const AppSettings& settings)
{
    if (!percent) {
        return totalText(snapshot, settings);
    }
    const double value = percent->toDouble();
    return wholeMoney(snapshot.totalValue, settings) + u' ' +
           (value > 0 ? QStringLiteral("+") : QString()) + CurrencyConversion::twoDecimals(value) +
           u'%';
}

}  // namespace

std::optional<QString> menuBarTitle(const PortfolioSnapshot& snapshot,
                                    std::optional<Decimal> displayedChangePercent,
                                    MenuBarDisplayMode mode, const AppSettings& settings)
{
    switch (mode) {
        case MenuBarDisplayMode::total:
            return totalText(snapshot, settings);
        case MenuBarDisplayMode::binance:
            return exchangeText(snapshot, Exchange::binance, settings);
        case MenuBarDisplayMode::okx:
            return exchangeText(snapshot, Exchange::okx, settings);
        case MenuBarDisplayMode::bybit:
            return exchangeText(snapshot, Exchange::bybit, settings);
        case MenuBarDisplayMode::bitget:
            return exchangeText(snapshot, Exchange::bitget, settings);
        case MenuBarDisplayMode::gateio:
            return exchangeText(snapshot, Exchange::gateio, settings);
        case MenuBarDisplayMode::totalWithChange:
            return totalWithChangeText(snapshot, displayedChangePercent, settings);
        case MenuBarDisplayMode::iconOnly:
            break;
    }
    return std::nullopt;
}

}  // namespace vantrell
