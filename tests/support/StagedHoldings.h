#pragma once

#include "files/PortfolioDiskWriter.h"
#include "models/ExchangeProviderSnapshot.h"
#include "platform/MemoryDefaultsStore.h"
#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "support/FakeExchangeProvider.h"
#include "support/FakeHttpTransport.h"
#include "support/ManualClock.h"
#include "support/RecordingNotifier.h"

#include <QTemporaryDir>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
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
class StagedHoldings {
public:
    StagedHoldings();
    ~StagedHoldings();
    StagedHoldings(const StagedHoldings&) = delete;
    StagedHoldings& operator=(const StagedHoldings&) = delete;

    // The exchange of `snapshot.account` is configured and answers `snapshot`. Staging an
    // exchange again replaces its answer for the next refresh.
    void stage(ExchangeProviderSnapshot snapshot);
    // Exchanges staged from now on answer after `delay` (so a refresh can be seen running).
    void setDelay(std::chrono::milliseconds delay) { m_delay = delay; }
    // The exchange is configured and every fetch fails with a network error.
    void stageFailure(Exchange exchange);
    // History points one day before now and just after today's midnight (UTC). Call before the
    // store is built.
    void setEarlierValue(std::string_view total);

    // Spot, funding and futures holdings of the exchange and `positionCount` positions with
    // values, profits and sides that differ (so every sort order differs from the others).
    static ExchangeProviderSnapshot sample(Exchange exchange, int positionCount);
    static Position position(Exchange exchange, const QString& symbol, PositionSide side,
                             std::string_view quantity, std::string_view markPrice,
                             std::string_view pnl);
    static AssetBalance balance(Exchange exchange, AccountType type, const QString& asset,
                                std::string_view quantity, std::string_view value);
    // The account with the sum of the balances, one breakdown per account type in order.
    static ExchangeAccount accountOf(Exchange exchange, const std::vector<AssetBalance>& balances);

    PortfolioStore& store();
    AppSettings& settings();
    LocalCredentialStore credentials() { return LocalCredentialStore(defaults); }

    // One forced refresh cycle over the staged exchanges, run to its end.
    void refresh();

    MemoryDefaultsStore defaults;
    ManualClock clock;
    FakeHttpTransport transport;
    RecordingNotifier notifier;

private:
    QTemporaryDir m_folder;
    std::map<Exchange, std::shared_ptr<FakeExchangeProvider>> m_providers;
    std::optional<std::vector<PortfolioValuePoint>> m_history;
    std::unique_ptr<PortfolioDiskWriter> m_writer;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<PortfolioStore> m_store;
    std::chrono::milliseconds m_delay{0};
};

}  // namespace vantrell::test
