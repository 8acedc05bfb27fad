#pragma once

#include "files/PortfolioDiskWriter.h"
#include "models/Decimal.h"
#include "models/Exchange.h"
#include "platform/MemoryDefaultsStore.h"
#include "settings/AppSettings.h"
#include "settings/ReferenceRates.h"
#include "store/PortfolioStore.h"
#include "support/FakeExchangeProvider.h"
#include "support/FakeHttpTransport.h"
#include "support/ManualClock.h"
#include "support/RecordingNotifier.h"

#include <QTemporaryDir>

#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace vantrell::test {

// A real PortfolioStore and AppSettings over fake exchanges, for views, screenshots and
// benchmarks: stage what each exchange answers, then build the store and run a refresh.
//
//     StagedPortfolio staged;
//     staged.stage(Exchange::binance, "12500.40");
//     staged.setEarlierValue("12000");            // gives the change figures
//     staged.refresh();                           // live, fresh and complete
//     FloatingPortfolioView view(staged.store(), staged.settings());
//
// Without a refresh the store has no data (not live); after makeStale() the data is still
// shown but no longer fresh, so the change figures are gone. Settings read no rates unless
// setRates() is called before settings() is first used; the rate download always fails.
// Locale: en_US for the whole process, so amounts read "$12,500.40".
class StagedPortfolio {
public:
    StagedPortfolio();
    ~StagedPortfolio();
    StagedPortfolio(const StagedPortfolio&) = delete;
    StagedPortfolio& operator=(const StagedPortfolio&) = delete;

    // The exchange is configured and answers `total` US dollars of spot holdings.
    void stage(Exchange exchange, std::string_view total);
    // All five exchanges with sample totals (28,896.30 US dollars together).
    void stageAllExchanges();
    // The exchange is configured and every fetch fails: with the exchange's own `message`, or
    // with a network error when there is none. Staging an exchange again replaces its answer.
    void stageFailure(Exchange exchange, const QString& message = QString());
    // History points one day before now and just after today's midnight (UTC), so both
    // periods have change figures once the data is live. Call before the store is built.
    void setEarlierValue(std::string_view total);
    // Stored reference rates, read when the settings are made.
    void setRates(const CurrencyRates& rates);
    // Euro rates that convert into every display currency.
    static CurrencyRates sampleRates();

    // Made on first use.
    PortfolioStore& store();
    AppSettings& settings();

    // One forced refresh cycle over the staged exchanges, run to its end.
    void refresh();
    // Moves the clock past the freshness window, so the data is shown but stale.
    void makeStale();

    MemoryDefaultsStore defaults;
    ManualClock clock;
    FakeHttpTransport transport;
    RecordingNotifier notifier;

private:
    ProviderFactory factory();

    QTemporaryDir m_folder;
    std::map<Exchange, std::shared_ptr<FakeExchangeProvider>> m_providers;
    std::optional<std::vector<PortfolioValuePoint>> m_history;
    std::unique_ptr<PortfolioDiskWriter> m_writer;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<PortfolioStore> m_store;
};

}  // namespace vantrell::test
