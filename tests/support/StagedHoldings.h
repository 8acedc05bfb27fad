#pragma once

#include "models/ExchangeProviderSnapshot.h"
#include "support/StagedStore.h"

#include <chrono>
#include <string_view>
#include <vector>

namespace vantrell::test {

// A real PortfolioStore and AppSettings over fake exchanges that answer whole snapshots:
// several account types, balances and open positions per exchange. For the portfolio pages and
// the popover, whose lists need more than StagedPortfolio's one spot holding.
//
//     StagedHoldings staged;
//     staged.stage(StagedHoldings::sample(Exchange::okx, 3));   // 3 positions
//     staged.refresh();
//     PositionsListView page(staged.store(), staged.settings(), staged.credentials());
//
// Locale: en_US for the whole process; the rate download always fails.
class StagedHoldings : public StagedStore {
public:
    // The exchange of `snapshot.account` is configured and answers `snapshot`. Staging an
    // exchange again replaces its answer for the next refresh.
    void stage(ExchangeProviderSnapshot snapshot);
    // Exchanges staged from now on answer after `delay` (so a refresh can be seen running).
    void setDelay(std::chrono::milliseconds delay) { m_delay = delay; }
    // The exchange is configured and every fetch fails with a network error.
    void stageFailure(Exchange exchange);

    // Spot, funding and futures holdings of the exchange and `positionCount` positions with
    // values, profits and sides that differ (so every sort order differs from the others).
    static ExchangeProviderSnapshot sample(Exchange exchange, int positionCount);
    // The sample with a trading account as well: all four account types, as a full account on
    // an exchange with a unified trading account reads.
    static ExchangeProviderSnapshot fullSample(Exchange exchange, int positionCount);
    static Position position(Exchange exchange, const QString& symbol, PositionSide side,
                             std::string_view quantity, std::string_view markPrice,
                             std::string_view pnl);
    static AssetBalance balance(Exchange exchange, AccountType type, const QString& asset,
                                std::string_view quantity, std::string_view value);
    // The account with the sum of the balances, one breakdown per account type in order.
    static ExchangeAccount accountOf(Exchange exchange, const std::vector<AssetBalance>& balances);

    LocalCredentialStore credentials() { return LocalCredentialStore(defaults); }

private:
    std::chrono::milliseconds m_delay{0};
};

}  // namespace vantrell::test
