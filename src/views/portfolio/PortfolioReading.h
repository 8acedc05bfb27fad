#pragma once

#include "models/Date.h"
#include "models/Decimal.h"
#include "models/Exchange.h"
#include "models/ExchangeAccount.h"
#include "models/PortfolioSnapshot.h"
#include "settings/PerformancePeriod.h"
#include "store/ExchangeRefreshStatus.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

class PortfolioStore;

// The part of the store's state a page model is built from, read once per rebuild. Tests and
// benchmarks fill it directly.
struct PortfolioReading {
    PortfolioSnapshot snapshot;
    Date lastUpdated;
    bool isRefreshing = false;
    std::vector<Exchange> configuredExchanges;
    ExchangeStatusMap statuses;
    // The change figures of the chosen period; absent while the snapshot is not live.
    std::optional<Decimal> displayedPnL;
    std::optional<Decimal> displayedChangePercent;

    static PortfolioReading read(const PortfolioStore& store, PerformancePeriod period);

    // An exchange without an entry has the default status (unconfigured).
    ExchangeRefreshStatus status(Exchange exchange) const;
    // The first account of the exchange in the snapshot, or null.
    const ExchangeAccount* account(Exchange exchange) const;
    // lastUpdated as the locale's hour, minute and second in the system time zone.
    QString lastUpdatedTime() const;
};

}  // namespace vantrell
