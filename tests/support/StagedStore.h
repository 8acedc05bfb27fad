#pragma once

#include "files/PortfolioDiskWriter.h"
#include "models/Decimal.h"
#include "models/Exchange.h"
#include "platform/MemoryDefaultsStore.h"
#include "settings/AppSettings.h"
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

// The store set-up StagedPortfolio and StagedHoldings share: a real PortfolioStore and
// AppSettings over fake exchanges, in a temporary support folder, with UTC days. Locale:
// en_US for the whole process; the rate download always fails.
class StagedStore {
public:
    StagedStore();
    ~StagedStore();
    StagedStore(const StagedStore&) = delete;
    StagedStore& operator=(const StagedStore&) = delete;

    // History points one day before now and just after today's midnight (UTC), so both
    // periods have change figures once the data is live. Call before the store is built.
    void setEarlierValue(std::string_view total);

    // Made on first use.
    PortfolioStore& store();
    AppSettings& settings();

    // One forced refresh cycle over the staged exchanges, run to its end.
    void refresh();

    MemoryDefaultsStore defaults;
    ManualClock clock;
    FakeHttpTransport transport;
    RecordingNotifier notifier;

protected:
    // An amount written in the test; zero if it does not parse.
    static Decimal amount(std::string_view text);
    // The exchange is configured and answers through `provider` (replacing an earlier one).
    void setProvider(Exchange exchange, std::shared_ptr<FakeExchangeProvider> provider);

private:
    QTemporaryDir m_folder;
    std::map<Exchange, std::shared_ptr<FakeExchangeProvider>> m_providers;
    std::optional<std::vector<PortfolioValuePoint>> m_history;
    std::unique_ptr<PortfolioDiskWriter> m_writer;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<PortfolioStore> m_store;
};

}  // namespace vantrell::test
