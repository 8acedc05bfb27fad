#include "store/PortfolioPersistence.h"

namespace vantrell {

PortfolioPersistence::PortfolioPersistence(SupportFolder folder, PortfolioDiskWriter* writer,
                                           const Clock& clock)
    : m_files(std::move(folder), writer, clock), m_clock(clock)
{
}

void PortfolioPersistence::loadCache(const QString& identity, PortfolioRefreshState& state) const
{
    const std::optional<CachedPortfolioSnapshot> cache = m_files.loadCachedSnapshot();
    const bool sameIdentity = cache && cache->identity == identity;
    if (sameIdentity && cache->snapshot.isLive) {
        state.snapshot = cache->snapshot;
    }
    state.lastUpdated = cache ? cache->savedAt : m_clock.now();
    if (sameIdentity) {
        state.quality = cache->quality.value_or(PortfolioRefreshState::Quality{});
        state.components = cache->components.value_or(PortfolioRefreshState::Components{});
    }
}

PortfolioPersistence::History PortfolioPersistence::loadHistory(
    const QString& identity,
    const std::optional<std::vector<PortfolioValuePoint>>& pointsOverride) const
{
    std::optional<PortfolioHistory> history = m_files.loadValueHistory(identity);
    std::vector<PortfolioValuePoint> points;
    if (pointsOverride) {
        points = *pointsOverride;
    } else if (history) {
        points = std::move(history->points);
    }
    return {PortfolioValueHistory(std::move(points),
                                  history ? std::optional(history->coverage) : std::nullopt),
            CapitalFlowLedger(history ? history->flows.value_or(std::vector<CapitalFlow>{})
                                      : std::vector<CapitalFlow>{})};
}

void PortfolioPersistence::saveCache(const PortfolioRefreshState& state, const QString& identity,
                                     QObject* context, FailureHandler onFailure)
{
    if (!m_files.isAvailable()) {
        return;
    }
    const CachedPortfolioSnapshot record{state.snapshot, state.lastUpdated, identity, state.quality,
                                         state.components};
    m_files.saveCache(record, ++m_revision, context, std::move(onFailure));
}

void PortfolioPersistence::saveHistory(const QString& identity, const PortfolioValueHistory& values,
                                       const CapitalFlowLedger& flows, QObject* context,
                                       FailureHandler onFailure)
{
    if (!m_files.isAvailable()) {
        return;
    }
    const PortfolioHistory record{identity, values.coverage().value_or(QString()), values.points(),
                                  flows.flows()};
    m_files.saveHistory(record, ++m_revision, context, std::move(onFailure));
}

void PortfolioPersistence::saveArchive(const QString& identity,
                                       const PortfolioValueHistory::Archive& archive,
                                       const CapitalFlowLedger& flows, QObject* context,
                                       FailureHandler onFailure)
{
    if (!m_files.isAvailable()) {
        return;
    }
    const PortfolioHistory record{identity, archive.coverage, archive.points, flows.flows()};
    m_files.saveArchive(record, ++m_revision, context, std::move(onFailure));
}

}  // namespace vantrell
