#include "views/portfolio/PortfolioReading.h"

#include "platform/SystemTimeZone.h"
#include "store/PortfolioFreshness.h"
#include "store/PortfolioStore.h"

#include <QLocale>
#include <QTimeZone>

#include <algorithm>

namespace vantrell {

PortfolioReading PortfolioReading::read(const PortfolioStore& store, PerformancePeriod period)
{
    return {store.snapshot(),
            store.lastUpdated(),
            store.isRefreshing(),
            store.configuredExchanges(),
            store.exchangeStatuses(),
            store.displayedPnL(period),
            store.displayedChangePercent(period)};
}

ExchangeRefreshStatus PortfolioReading::status(Exchange exchange) const
{
    const auto found = statuses.find(exchange);
    return found == statuses.end() ? ExchangeRefreshStatus{} : found->second;
}

const ExchangeAccount* PortfolioReading::account(Exchange exchange) const
{
    const auto& accounts = snapshot.exchanges;
    const auto found = std::find_if(accounts.begin(), accounts.end(),
                                    [exchange](const auto& a) { return a.exchange == exchange; });
    return found == accounts.end() ? nullptr : &*found;
}

QString PortfolioReading::lastUpdatedTime() const
{
    return PortfolioFreshness::timeText(lastUpdated, QLocale(), systemTimeZone());
}

}  // namespace vantrell
