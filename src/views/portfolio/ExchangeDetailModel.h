#pragma once

#include "models/Exchange.h"
#include "store/ExchangeRefreshStatus.h"
#include "views/portfolio/BalanceRowTexts.h"
#include "views/portfolio/DisplayContext.h"
#include "views/portfolio/ListEmptyState.h"
#include "views/portfolio/PortfolioReading.h"
#include "views/portfolio/PositionRowTexts.h"
#include "views/portfolio/StatusLabel.h"

#include <QString>

#include <vector>

namespace vantrell {

class AppSettings;
class PortfolioStore;

// Everything the page of one exchange shows, computed from the store and the settings. The
// page keeps no state: it builds a new model on each change of either.
struct ExchangeDetailModel {
    struct Metric {
        QString title;  // "总资产", then each account type
        QString value;  // money
        friend bool operator==(const Metric&, const Metric&) = default;
    };

    static const QString assetsTitle;         // "资产明细"
    static const QString assetsEmptyText;     // "暂无非零资产"
    static const QString positionsTitle;      // "合约持仓"
    static const QString positionsEmptyText;  // "暂无合约持仓"

    Exchange exchange = Exchange::binance;
    QString name;
    StatusLabel status;
    // False when the snapshot has no account of the exchange: the page shows noAccount
    // instead of the metrics and both sections.
    bool hasAccount = false;
    ListEmptyState noAccount;
    std::vector<Metric> metrics;
    std::vector<BalanceRowTexts> assetRows;      // this exchange's balances, largest first
    std::vector<PositionRowTexts> positionRows;  // this exchange's positions, chosen order

    static ExchangeDetailModel build(Exchange exchange, const PortfolioReading& reading,
                                     const DisplayContext& display);
    static ExchangeDetailModel build(Exchange exchange, const PortfolioStore& store,
                                     const AppSettings& settings);

    // The header badge; a failure shows its message unchanged.
    static StatusLabel statusBadge(const ExchangeRefreshStatus::State& state);

private:
    void fillSections(const PortfolioReading& reading, const DisplayContext& display);
};

}  // namespace vantrell
