#pragma once

#include "files/PortfolioValuePoint.h"
#include "models/Date.h"
#include "models/Decimal.h"
#include "models/ExchangeAccount.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

// The portfolio's value over time for one credential identity and one set of tracked accounts:
// at most one point per five minutes, for 90 days. When the tracked accounts change, the points
// no longer compare with each other: they are handed back for archiving and a new history
// begins.
//
// The clock that stamps the points can be wrong (hours off after a boot, years off with a dead
// battery) and nothing tells which reading was the wrong one. So a reading earlier than the
// newest point is not refused but put in its place in time, and a trim that would take every
// point at once hands them back to be set aside rather than lost.
class PortfolioValueHistory {
public:
    static constexpr double retentionSeconds = 7'776'000;  // 90 days
    static constexpr double pointSpacingSeconds = 300;

    // Points to be kept in an archive file rather than dropped: those of the accounts tracked
    // before a change, or all points when every one of them had aged out at once.
    struct Archive {
        QString coverage;
        std::vector<PortfolioValuePoint> points;
    };
    struct Recording {
        std::optional<Archive> archive;  // to be written before the new history
        bool appended = false;           // a point was added: the history file is due
    };

    PortfolioValueHistory() = default;
    PortfolioValueHistory(std::vector<PortfolioValuePoint> points, std::optional<QString> coverage);

    const std::vector<PortfolioValuePoint>& points() const { return m_points; }
    // Absent until the first recording or a loaded history.
    const std::optional<QString>& coverage() const { return m_coverage; }

    // Records the total at `at` for the accounts named by `coverage`. A change from one
    // non-empty coverage to another starts a new history; points older than 90 days before `at`
    // go (all of them to the archive when none would be left); a point is added, in time order,
    // when no point lies within five minutes of `at`.
    Recording record(Date at, const Decimal& totalValue, const QString& coverage);

    // Names the accounts whose values make up the total: per account the exchange's case name,
    // ":" and its breakdown types, sorted and joined with ","; the accounts sorted and joined
    // with ";". For example "binance:合约,现货;okx:交易账户,资金账户".
    static QString coverageText(const std::vector<ExchangeAccount>& accounts);

private:
    void trim(Date at, Recording& recording);
    bool insert(Date at, const Decimal& totalValue);

    std::vector<PortfolioValuePoint> m_points;
    std::optional<QString> m_coverage;
};

}  // namespace vantrell
