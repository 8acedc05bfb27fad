#pragma once

#include "concurrency/TaskJoin.h"
#include "files/PortfolioFiles.h"
#include "models/CapitalFlow.h"
#include "models/Clock.h"
#include "models/Date.h"
#include "models/Decimal.h"
#include "models/Exchange.h"
#include "models/ExchangeAccount.h"
#include "models/PortfolioSnapshot.h"
#include "models/PortfolioTrendSample.h"
#include "platform/SupportFolder.h"
#include "security/LocalCredentialStore.h"
#include "settings/MenuBarDisplayMode.h"
#include "settings/PerformancePeriod.h"
#include "store/CapitalFlowLedger.h"
#include "store/ConfiguredProviders.h"
#include "store/ConnectionTestResult.h"
#include "store/ExchangeRefreshStatus.h"
#include "store/PortfolioAlerts.h"
#include "store/PortfolioPerformance.h"
#include "store/PortfolioPersistence.h"
#include "store/PortfolioRefreshState.h"
#include "store/PortfolioValueHistory.h"
#include "store/ProviderRefreshResult.h"
#include "store/RefreshCycleTracker.h"

#include <QCoroTask>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimeZone>

#include <memory>
#include <optional>
#include <vector>

class QTimer;

namespace vantrell {

class AppSettings;
class DefaultsStore;
class Notifier;
class PortfolioCSVExport;
class PortfolioDiskWriter;
class SaveLocationPrompt;
class WakeMonitor;

// The one model of the portfolio that every view observes: the merged data of all configured
// exchanges, each exchange's status, the value history with its change figures, the capital
// flows and the last file error. It refreshes every exchange on a timer, after a wake from sleep
// and on demand, merging each exchange's result as it arrives.
//
// Lives on the main thread; only the exchanges' fetches run concurrently. All data belongs to
// one credential identity: when the stored credentials change, the next refresh starts over
// from that identity's files.
class PortfolioStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(vantrell::PortfolioSnapshot snapshot READ snapshot NOTIFY snapshotChanged)
    Q_PROPERTY(vantrell::Date lastUpdated READ lastUpdated NOTIFY lastUpdatedChanged)
    Q_PROPERTY(bool isRefreshing READ isRefreshing NOTIFY isRefreshingChanged)
    Q_PROPERTY(std::optional<QString> exportError READ exportError NOTIFY exportErrorChanged)
    Q_PROPERTY(std::vector<vantrell::CapitalFlow> capitalFlows READ capitalFlows NOTIFY
                   capitalFlowsChanged)
    Q_PROPERTY(std::optional<vantrell::Decimal> twentyFourHourPnL READ twentyFourHourPnL NOTIFY
                   twentyFourHourPnLChanged)
    Q_PROPERTY(std::optional<vantrell::Decimal> twentyFourHourChangePercent READ
                   twentyFourHourChangePercent NOTIFY twentyFourHourChangePercentChanged)
    Q_PROPERTY(std::optional<vantrell::Decimal> todayPnL READ todayPnL NOTIFY todayPnLChanged)
    Q_PROPERTY(std::optional<vantrell::Decimal> todayChangePercent READ todayChangePercent NOTIFY
                   todayChangePercentChanged)
    Q_PROPERTY(vantrell::ExchangeStatusMap exchangeStatuses READ exchangeStatuses NOTIFY
                   exchangeStatusesChanged)

public:
    // What the store works with besides the credentials. Everything referenced must outlive
    // the store.
    struct Services {
        Services(DefaultsStore& defaults, const Clock& clock, Notifier& notifier,
                 SupportFolder folder)
            : defaults(defaults), clock(clock), notifier(notifier), folder(std::move(folder))
        {
        }

        DefaultsStore& defaults;  // the interval, the period, the flow setting, the alerts
        const Clock& clock;
        Notifier& notifier;
        SupportFolder folder;                      // no folder: the store keeps no files
        PortfolioDiskWriter* writer = nullptr;     // null: the program's shared writer
        SaveLocationPrompt* savePrompt = nullptr;  // null: the history cannot be exported
        WakeMonitor* wakeMonitor = nullptr;        // null: no refresh after a wake
        // Where the local day begins; absent: the system's zone at each computation.
        std::optional<QTimeZone> timeZone;
    };

    // Loads the last snapshot and the identity's history. With `startAutomatically` the timer
    // and the wake refresh start, and a forced refresh follows on the event loop; otherwise the
    // store only loads. `historyOverride` replaces the loaded points. The application passes
    // the connector factory of the credential store as `providerFactory`.
    PortfolioStore(LocalCredentialStore credentialStore, ProviderFactory providerFactory,
                   Services services, bool startAutomatically,
                   std::optional<std::vector<PortfolioValuePoint>> historyOverride = std::nullopt,
                   QObject* parent = nullptr);
    ~PortfolioStore() override;

    // Total 0, no daily figures, no data, not live.
    static const PortfolioSnapshot& emptySnapshot();

    const PortfolioSnapshot& snapshot() const { return m_state.snapshot; }
    Date lastUpdated() const { return m_state.lastUpdated; }
    bool isRefreshing() const { return m_cycles.isRunning(); }
    const std::optional<QString>& exportError() const { return m_exportError; }
    // The analytics page clears the error once the user has seen it.
    void clearExportError();
    const std::vector<CapitalFlow>& capitalFlows() const { return m_flows.flows(); }
    std::optional<Decimal> twentyFourHourPnL() const { return m_figures.twentyFourHours.pnl; }
    std::optional<Decimal> twentyFourHourChangePercent() const
    {
        return m_figures.twentyFourHours.percent;
    }
    std::optional<Decimal> todayPnL() const { return m_figures.today.pnl; }
    std::optional<Decimal> todayChangePercent() const { return m_figures.today.percent; }
    const ExchangeStatusMap& exchangeStatuses() const { return m_state.statuses; }

    const QString& accountIdentity() const { return m_accountIdentity; }
    const std::vector<PortfolioValuePoint>& valueHistory() const { return m_history.points(); }
    const std::optional<QString>& historyCoverage() const { return m_history.coverage(); }

    // Refresh cycle ----------------------------------------------------------------------
    // Starts a refresh and returns at once. The timer passes false; the wake and the refresh
    // buttons pass true.
    void refresh(bool force);
    // One refresh cycle; returns when it has ended. A call while a cycle runs returns at once
    // and changes nothing. A forced refresh skips the back-off but never a server's wait.
    QCoro::Task<void> refreshNow(bool force);
    // A forced refresh that is sure to start after this call: when a cycle is running, first
    // waits for it to end. Returns when that forced cycle has ended (at once when the store is
    // gone meanwhile). The credential sheet awaits it so it closes only once the credentials
    // just written have been fetched.
    QCoro::Task<void> refreshAfterCurrentCycle();
    // Seconds between timer refreshes; also the base of back-off and freshness.
    double refreshInterval() const { return m_refreshInterval; }
    // Takes effect at the next configureTimer().
    void setRefreshInterval(double seconds) { m_refreshInterval = seconds; }
    // (Re)starts the timer: the next tick comes one full interval from now.
    void configureTimer();

    // Statuses, freshness and configuration -------------------------------------------------
    ExchangeRefreshStatus status(Exchange exchange) const { return m_state.status(exchange); }
    bool isFresh(Exchange exchange) const;
    bool hasFreshCompleteData() const;
    QString freshnessDescription() const;
    std::vector<Exchange> configuredExchanges() const;
    bool isConfigured(Exchange exchange) const;
    // The first account of each configured exchange in the snapshot, in the exchanges' order.
    std::vector<ExchangeAccount> visibleExchangeAccounts() const;
    // Tests `credentials` (entered values held in memory), or the stored ones when absent.
    // Changes no state of the store.
    QCoro::Task<ConnectionTestResult> testConnection(
        Exchange exchange, std::optional<LocalCredentialStore> credentials = std::nullopt) const;

    // Value history and change figures ------------------------------------------------------
    // Records the current total at `at` (after a cycle with fresh, complete data).
    void recordValueSnapshot(Date at);
    // Recomputes the four change figures for `at`; they are absent unless the data is live,
    // fresh and complete. The settings form calls it when the flow setting changes.
    void updatePerformance(Date at);
    std::vector<double> trendValues(PerformancePeriod period, Date at) const;
    std::vector<PortfolioTrendSample> trendSamples(Date since, Date at) const;
    std::optional<Decimal> displayedPnL(PerformancePeriod period) const;
    std::optional<Decimal> displayedChangePercent(PerformancePeriod period) const;

    // Capital flows ---------------------------------------------------------------------------
    // Ignores an amount the ledger cannot record (zero, or beyond its largest amount) and a
    // date in the future.
    void addCapitalFlow(const Decimal& amountUSD, Date date);
    void removeCapitalFlow(const Uuid& id);

    // Exports ---------------------------------------------------------------------------------
    void exportHistoryCSV();
    std::optional<QString> menuBarTitle(MenuBarDisplayMode mode, const AppSettings& settings) const;

Q_SIGNALS:
    void snapshotChanged();
    void lastUpdatedChanged();
    void isRefreshingChanged();
    void exportErrorChanged();
    void capitalFlowsChanged();
    void twentyFourHourPnLChanged();
    void twentyFourHourChangePercentChanged();
    void todayPnLChanged();
    void todayChangePercentChanged();
    void exchangeStatusesChanged();

private:
    void loadFiles(const std::optional<std::vector<PortfolioValuePoint>>& historyOverride);
    void loadHistory(const QString& identity,
                     const std::optional<std::vector<PortfolioValuePoint>>& pointsOverride);
    void start();
    void switchIdentity(const QString& identity);
    // The steps before the fetches, then one fetch per eligible exchange; false when no
    // exchange is configured.
    bool startFetches(const QString& identity, bool force, TaskJoin<ProviderRefreshResult>& join);
    std::vector<std::shared_ptr<const ExchangeProvider>> configuredProviders() const;
    void apply(const ProviderRefreshResult& result, Date date);
    void completeCycle();

    void persistCache();
    void persistHistory();
    void persistArchive(const PortfolioValueHistory::Archive& archive);
    PortfolioFiles::FailureHandler reportFailure();

    void setSnapshot(PortfolioSnapshot snapshot);
    void setExportError(const QString& message);
    void setFigures(const PortfolioPerformance::Figures& figures);
    QTimeZone timeZone() const;

    LocalCredentialStore m_credentialStore;
    ProviderFactory m_providerFactory;
    DefaultsStore& m_defaults;
    const Clock& m_clock;
    PortfolioPersistence m_persistence;
    std::unique_ptr<PortfolioCSVExport> m_csvExport;
    QPointer<WakeMonitor> m_wakeMonitor;
    std::optional<QTimeZone> m_timeZone;

    PortfolioRefreshState m_state;
    RefreshCycleTracker m_cycles;
    std::optional<QString> m_exportError;
    CapitalFlowLedger m_flows;
    PortfolioPerformance::Figures m_figures;
    QTimer* m_refreshTimer = nullptr;
    double m_refreshInterval = 10;
    PortfolioValueHistory m_history;
    QString m_accountIdentity;
    PortfolioAlerts m_alerts;
};

}  // namespace vantrell
