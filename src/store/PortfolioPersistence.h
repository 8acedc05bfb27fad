#pragma once

#include "files/PortfolioFiles.h"
#include "files/PortfolioValuePoint.h"
#include "models/Clock.h"
#include "platform/SupportFolder.h"
#include "store/CapitalFlowLedger.h"
#include "store/PortfolioRefreshState.h"
#include "store/PortfolioValueHistory.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

class PortfolioDiskWriter;

// The portfolio store's side of its files: turning the store's state into the records it writes
// and back when it loads, at start and after a change of credentials. Kept apart so the store
// deals with its state and signals only. Every write takes the next revision of one counter, so
// a record made earlier never replaces one made later.
class PortfolioPersistence {
public:
    using FailureHandler = PortfolioFiles::FailureHandler;

    // One identity's history as loaded: its value points and its capital flows.
    struct History {
        PortfolioValueHistory values;
        CapitalFlowLedger flows;
    };

    // The writer and the clock must outlive this object.
    PortfolioPersistence(SupportFolder folder, PortfolioDiskWriter* writer, const Clock& clock);

    // Puts the cached snapshot into `state`: its snapshot when it belongs to `identity` and was
    // live, its qualities and components when it belongs to `identity`. Any cache, even of
    // another identity, gives the time of the last update; without one that is now.
    void loadCache(const QString& identity, PortfolioRefreshState& state) const;
    // `identity`'s history; `pointsOverride` replaces the loaded points.
    History loadHistory(
        const QString& identity,
        const std::optional<std::vector<PortfolioValuePoint>>& pointsOverride) const;

    // Write requests, as PortfolioFiles takes them; without a data folder nothing is written
    // and no revision is used.
    void saveCache(const PortfolioRefreshState& state, const QString& identity, QObject* context,
                   FailureHandler onFailure);
    void saveHistory(const QString& identity, const PortfolioValueHistory& values,
                     const CapitalFlowLedger& flows, QObject* context, FailureHandler onFailure);
    void saveArchive(const QString& identity, const PortfolioValueHistory::Archive& archive,
                     const CapitalFlowLedger& flows, QObject* context, FailureHandler onFailure);

private:
    PortfolioFiles m_files;
    const Clock& m_clock;
    quint64 m_revision = 0;
};

}  // namespace vantrell
