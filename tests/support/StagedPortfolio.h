#pragma once

#include "models/Exchange.h"
#include "settings/ReferenceRates.h"
#include "support/StagedStore.h"

#include <string_view>

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
class StagedPortfolio : public StagedStore {
public:
    // The exchange is configured and answers `total` US dollars of spot holdings.
    void stage(Exchange exchange, std::string_view total);
    // All five exchanges with sample totals (28,896.30 US dollars together).
    void stageAllExchanges();
    // The exchange is configured and every fetch fails: with the exchange's own `message`, or
    // with a network error when there is none. Staging an exchange again replaces its answer.
    void stageFailure(Exchange exchange, const QString& message = QString());
    // Stored reference rates, read when the settings are made.
    void setRates(const CurrencyRates& rates);
    // Euro rates that convert into every display currency.
    static CurrencyRates sampleRates();

    // Moves the clock past the freshness window, so the data is shown but stale.
    void makeStale();
};

}  // namespace vantrell::test
