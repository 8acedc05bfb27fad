#include "store/PortfolioStore.h"

#include "files/PortfolioCSVExport.h"
#include "platform/SystemTimeZone.h"
#include "platform/WakeMonitor.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"
#include "settings/RefreshInterval.h"
#include "store/ExchangeResultMerge.h"
#include "store/MenuBarTitle.h"
#include "store/PortfolioFreshness.h"
#include "store/ProviderRequests.h"

#include <QLocale>
#include <QTimer>

#include <algorithm>
#include <set>

namespace vantrell {

namespace {

QCoro::Task<void> refreshIfAlive(QPointer<PortfolioStore> store, bool force)
{
    if (store) {
        co_await store->refreshNow(force);
    }
}

}  // namespace

PortfolioStore::PortfolioStore(LocalCredentialStore credentialStore,
                               ProviderFactory providerFactory, Services services,
                               bool startAutomatically,
                               std::optional<std::vector<PortfolioValuePoint>> historyOverride,
                               QObject* parent)
    : QObject(parent),
      m_credentialStore(std::move(credentialStore)),
      m_providerFactory(std::move(providerFactory)),
      m_defaults(services.defaults),
      m_clock(services.clock),
      m_persistence(std::move(services.folder), services.writer, services.clock),
      m_wakeMonitor(services.wakeMonitor),
      m_timeZone(std::move(services.timeZone)),
      m_cycles(this, [this] { Q_EMIT isRefreshingChanged(); }),
      m_alerts(services.defaults, services.clock, services.notifier)
{
    if (services.savePrompt != nullptr) {
        m_csvExport = std::make_unique<PortfolioCSVExport>(*services.savePrompt, services.writer,
                                                           services.clock);
    }
    for (Exchange exchange : allExchanges) {
        m_state.statuses[exchange] = ExchangeRefreshStatus{};
    }
    m_accountIdentity = m_credentialStore.portfolioIdentity();
    m_refreshInterval = seconds(readPreference(m_defaults, preferences::refreshInterval));
    loadFiles(historyOverride);
    updatePerformance(m_state.lastUpdated);
    if (startAutomatically) {
        start();
    }
}

PortfolioStore::~PortfolioStore() = default;

const PortfolioSnapshot& PortfolioStore::emptySnapshot()
{
    static const PortfolioSnapshot empty;
    return empty;
}

void PortfolioStore::loadFiles(
    const std::optional<std::vector<PortfolioValuePoint>>& historyOverride)
{
    m_persistence.loadCache(m_accountIdentity, m_state);
    loadHistory(m_accountIdentity, historyOverride);
}

void PortfolioStore::loadHistory(
    const QString& identity, const std::optional<std::vector<PortfolioValuePoint>>& pointsOverride)
{
    PortfolioPersistence::History history = m_persistence.loadHistory(identity, pointsOverride);
    m_history = std::move(history.values);
    m_flows = std::move(history.flows);
}

void PortfolioStore::start()
{
    configureTimer();
    if (m_wakeMonitor) {
        connect(m_wakeMonitor, &WakeMonitor::woke, this, [this] { refresh(true); });
    }
    // The first refresh runs once the event loop takes over, not inside the constructor.
    QTimer::singleShot(0, this, [this] { refresh(true); });
}

void PortfolioStore::configureTimer()
{
    if (m_refreshTimer == nullptr) {
        m_refreshTimer = new QTimer(this);
        m_refreshTimer->setObjectName(QStringLiteral("refreshTimer"));
        connect(m_refreshTimer, &QTimer::timeout, this, [this] { refresh(false); });
    }
    m_refreshTimer->start(static_cast<int>(m_refreshInterval * 1000));
}

void PortfolioStore::refresh(bool force)
{
    refreshIfAlive(QPointer<PortfolioStore>(this), force);
}

QCoro::Task<void> PortfolioStore::refreshNow(bool force)
{
    if (m_cycles.isRunning()) {
        co_return;
    }
    const QPointer<PortfolioStore> self(this);
    const RefreshCycleTracker::Cycle cycle(m_cycles);

    const QString identity = m_credentialStore.portfolioIdentity();
    TaskJoin<ProviderRefreshResult> join;
    if (!startFetches(identity, force, join)) {
        co_return;
    }
    while (join.remaining() > 0) {
        std::optional<TaskJoin<ProviderRefreshResult>::Finished> finished = co_await join.next();
        if (!self) {
            co_return;  // the store is gone: nothing of it may be touched
        }
        if (finished && m_credentialStore.portfolioIdentity() == identity) {
            apply(finished->value, m_clock.now());
        }
    }
    if (m_credentialStore.portfolioIdentity() == identity) {
        completeCycle();
    }
}

QCoro::Task<void> PortfolioStore::refreshAfterCurrentCycle()
{
    const QPointer<PortfolioStore> self(this);
    co_await m_cycles.untilIdle();
    if (self) {
        co_await self->refreshNow(true);
    }
}

bool PortfolioStore::startFetches(const QString& identity, bool force,
                                  TaskJoin<ProviderRefreshResult>& join)
{
    if (identity != m_accountIdentity) {
        switchIdentity(identity);
    }
    const auto providers = configuredProviders();
    std::set<Exchange> configured;
    for (const auto& provider : providers) {
        configured.insert(provider->exchange());
    }
    m_state.markUnconfigured(configured);
    Q_EMIT exchangeStatusesChanged();
    if (providers.empty()) {
        setSnapshot(emptySnapshot());
        return false;
    }
    if (auto pruned = ExchangeResultMerge::pruned(m_state.snapshot, configured)) {
        setSnapshot(std::move(*pruned));
    }
    // Tested once, at one time: exactly the exchanges shown as connecting are fetched.
    const std::vector<Exchange> eligible = m_state.markEligible(
        std::vector<Exchange>(configured.begin(), configured.end()), m_clock.now(), force);
    Q_EMIT exchangeStatusesChanged();
    for (const auto& provider : providers) {
        if (std::find(eligible.begin(), eligible.end(), provider->exchange()) != eligible.end()) {
            join.add(ProviderRequests::fetch(provider));
        }
    }
    return true;
}

void PortfolioStore::switchIdentity(const QString& identity)
{
    m_accountIdentity = identity;
    m_state.resetForNewIdentity();
    loadHistory(identity, std::nullopt);
    Q_EMIT snapshotChanged();
    Q_EMIT exchangeStatusesChanged();
    Q_EMIT capitalFlowsChanged();
    updatePerformance(m_clock.now());
}

std::vector<std::shared_ptr<const ExchangeProvider>> PortfolioStore::configuredProviders() const
{
    return ConfiguredProviders::providers(m_credentialStore, m_providerFactory, m_state.components);
}

void PortfolioStore::apply(const ProviderRefreshResult& result, Date date)
{
    const auto changes = ExchangeResultMerge::apply(m_state, result, date, m_refreshInterval);
    if (changes.snapshot) {
        Q_EMIT snapshotChanged();
    }
    if (changes.lastUpdated) {
        Q_EMIT lastUpdatedChanged();
    }
    Q_EMIT exchangeStatusesChanged();
    updatePerformance(date);
}

void PortfolioStore::completeCycle()
{
    if (hasFreshCompleteData()) {
        recordValueSnapshot(m_state.lastUpdated);
        const bool today =
            readPreference(m_defaults, preferences::performancePeriod) == PerformancePeriod::today;
        m_alerts.evaluate(m_state.snapshot.totalValue,
                          today ? m_figures.today.percent : m_figures.twentyFourHours.percent);
    } else {
        updatePerformance(m_state.lastUpdated);
    }
    persistCache();
}

bool PortfolioStore::isFresh(Exchange exchange) const
{
    return PortfolioFreshness::isFresh(status(exchange), m_refreshInterval, m_clock.now());
}

bool PortfolioStore::hasFreshCompleteData() const
{
    return PortfolioFreshness::hasFreshCompleteData(configuredExchanges(), m_state,
                                                    m_refreshInterval, m_clock.now());
}

QString PortfolioStore::freshnessDescription() const
{
    return PortfolioFreshness::description(configuredExchanges(), m_state, QLocale(), timeZone());
}

std::vector<Exchange> PortfolioStore::configuredExchanges() const
{
    return ConfiguredProviders::exchanges(m_credentialStore, m_providerFactory);
}

bool PortfolioStore::isConfigured(Exchange exchange) const
{
    return ConfiguredProviders::isConfigured(m_credentialStore, m_providerFactory, exchange);
}

std::vector<ExchangeAccount> PortfolioStore::visibleExchangeAccounts() const
{
    std::vector<ExchangeAccount> visible;
    const auto& accounts = m_state.snapshot.exchanges;
    for (Exchange exchange : configuredExchanges()) {
        const auto found =
            std::find_if(accounts.begin(), accounts.end(),
                         [exchange](const auto& a) { return a.exchange == exchange; });
        if (found != accounts.end()) {
            visible.push_back(*found);
        }
    }
    return visible;
}

QCoro::Task<ConnectionTestResult> PortfolioStore::testConnection(
    Exchange exchange, std::optional<LocalCredentialStore> credentials) const
{
    auto provider = m_providerFactory(credentials ? *credentials : m_credentialStore, exchange);
    if (!provider) {
        return []() -> QCoro::Task<ConnectionTestResult> {
            co_return ConnectionTestResult::failure(QStringLiteral("尚未保存完整凭证"));
        }();
    }
    // The test does not touch the store, so it may outlive it.
    return ProviderRequests::test(std::move(provider));
}

void PortfolioStore::recordValueSnapshot(Date at)
{
    const QString coverage = PortfolioValueHistory::coverageText(visibleExchangeAccounts());
    const PortfolioValueHistory::Recording recording =
        m_history.record(at, m_state.snapshot.totalValue, coverage);
    if (recording.archive) {
        persistArchive(*recording.archive);
    }
    if (recording.appended) {
        persistHistory();
    }
    updatePerformance(at);
}

void PortfolioStore::updatePerformance(Date at)
{
    PortfolioPerformance::Figures figures;
    if (m_state.snapshot.isLive && hasFreshCompleteData()) {
        const bool adjust = readPreference(m_defaults, preferences::adjustExternalFlows);
        figures = PortfolioPerformance(m_history.points(), m_flows.flows(),
                                       m_state.snapshot.totalValue, adjust)
                      .figures(at, timeZone());
    }
    setFigures(figures);
}

std::vector<double> PortfolioStore::trendValues(PerformancePeriod period, Date at) const
{
    const Date start = PortfolioPerformance::periodStart(period, at, timeZone());
    const auto live =
        hasFreshCompleteData() ? std::optional(m_state.snapshot.totalValue) : std::nullopt;
    return PortfolioPerformance::trendValues(m_history.points(), start, at, live);
}

std::vector<PortfolioTrendSample> PortfolioStore::trendSamples(Date since, Date at) const
{
    const auto live =
        hasFreshCompleteData() ? std::optional(m_state.snapshot.totalValue) : std::nullopt;
    return PortfolioPerformance::trendSamples(m_history.points(), since, at, live);
}

std::optional<Decimal> PortfolioStore::displayedPnL(PerformancePeriod period) const
{
    if (!m_state.snapshot.isLive) {
        return std::nullopt;
    }
    return period == PerformancePeriod::today ? todayPnL() : twentyFourHourPnL();
}

std::optional<Decimal> PortfolioStore::displayedChangePercent(PerformancePeriod period) const
{
    if (!m_state.snapshot.isLive) {
        return std::nullopt;
    }
    return period == PerformancePeriod::today ? todayChangePercent()
                                              : twentyFourHourChangePercent();
}

void PortfolioStore::addCapitalFlow(const Decimal& amountUSD, Date date)
{
    if (!m_flows.add(amountUSD, date, m_clock.now())) {
        return;
    }
    Q_EMIT capitalFlowsChanged();
    persistHistory();
    updatePerformance(m_state.lastUpdated);
}

void PortfolioStore::removeCapitalFlow(const Uuid& id)
{
    if (m_flows.remove(id)) {
        Q_EMIT capitalFlowsChanged();
    }
    persistHistory();  // also when nothing was removed
    updatePerformance(m_state.lastUpdated);
}

void PortfolioStore::persistCache()
{
    m_persistence.saveCache(m_state, m_accountIdentity, this, reportFailure());
}

void PortfolioStore::persistHistory()
{
    m_persistence.saveHistory(m_accountIdentity, m_history, m_flows, this, reportFailure());
}

void PortfolioStore::persistArchive(const PortfolioValueHistory::Archive& archive)
{
    m_persistence.saveArchive(m_accountIdentity, archive, m_flows, this, reportFailure());
}

// Runs on the main thread, and only while the store lives.
PortfolioFiles::FailureHandler PortfolioStore::reportFailure()
{
    return [this](const QString& message) { setExportError(message); };
}

void PortfolioStore::exportHistoryCSV()
{
    if (m_csvExport) {
        m_csvExport->start(m_history.points(), this, reportFailure());
    }
}

std::optional<QString> PortfolioStore::menuBarTitle(MenuBarDisplayMode mode,
                                                    const AppSettings& settings) const
{
    return vantrell::menuBarTitle(
        m_state.snapshot, displayedChangePercent(settings.performancePeriod()), mode, settings);
}

void PortfolioStore::clearExportError()
{
    if (m_exportError) {
        m_exportError.reset();
        Q_EMIT exportErrorChanged();
    }
}

void PortfolioStore::setSnapshot(PortfolioSnapshot snapshot)
{
    m_state.snapshot = std::move(snapshot);
    Q_EMIT snapshotChanged();
}

// Every failure sets the text again, so a view that cleared it hears of the next one.
void PortfolioStore::setExportError(const QString& message)
{
    m_exportError = message;
    Q_EMIT exportErrorChanged();
}

void PortfolioStore::setFigures(const PortfolioPerformance::Figures& figures)
{
    const PortfolioPerformance::Figures previous = std::exchange(m_figures, figures);
    if (previous.twentyFourHours.pnl != figures.twentyFourHours.pnl) {
        Q_EMIT twentyFourHourPnLChanged();
    }
    if (previous.twentyFourHours.percent != figures.twentyFourHours.percent) {
        Q_EMIT twentyFourHourChangePercentChanged();
    }
    if (previous.today.pnl != figures.today.pnl) {
        Q_EMIT todayPnLChanged();
    }
    if (previous.today.percent != figures.today.percent) {
        Q_EMIT todayChangePercentChanged();
    }
}

QTimeZone PortfolioStore::timeZone() const
{
    return m_timeZone.value_or(systemTimeZone());
}

}  // namespace vantrell
