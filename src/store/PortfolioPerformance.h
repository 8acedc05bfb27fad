#pragma once

#include "files/PortfolioValuePoint.h"
#include "models/CapitalFlow.h"
#include "models/Date.h"
#include "models/Decimal.h"
#include "models/PortfolioTrendSample.h"
#include "settings/PerformancePeriod.h"

#include <QTimeZone>

#include <optional>
#include <vector>

namespace vantrell {

// The change of the portfolio's value over a period, worked out from the value history: the
// current total against a base point at the start of the period, net of the capital flows
// recorded since then when asked. Pure: the caller passes the time and the time zone that
// decides where the local day begins.
class PortfolioPerformance {
public:
    static constexpr double dayLength = 86'400;
    // A base point may lie this far before the start of the period and still stand for it.
    static constexpr double largestBaseGap = 1'800;

    struct Change {
        std::optional<Decimal> pnl;      // US dollars
        std::optional<Decimal> percent;  // per cent units; absent on a zero base

        friend bool operator==(const Change&, const Change&) = default;
    };
    struct Figures {
        Change twentyFourHours;
        Change today;

        friend bool operator==(const Figures&, const Figures&) = default;
    };

    // The lists must outlive this object. `adjustForFlows` takes capital flows out of the PnL.
    PortfolioPerformance(const std::vector<PortfolioValuePoint>& points,
                         const std::vector<CapitalFlow>& flows, Decimal currentTotal,
                         bool adjustForFlows);

    // The change since `since` at `at`; absent figures without a base point.
    Change change(Date since, Date at) const;
    // The change over the last 24 hours and since the start of the local day of `at`.
    Figures figures(Date at, const QTimeZone& timeZone) const;

    // The newest point at or before `since` (and before `at`) when it lies at most 30 minutes
    // before `since`; otherwise the oldest point from `since` on, before `at`. A point at `at`
    // itself is never a base.
    static std::optional<PortfolioValuePoint> basePoint(
        const std::vector<PortfolioValuePoint>& points, Date since, Date at);

    // Midnight of the day that holds `at`, in `timeZone` (on days that begin with a clock change,
    // the first moment of the day).
    static Date startOfDay(Date at, const QTimeZone& timeZone);
    static Date periodStart(PerformancePeriod period, Date at, const QTimeZone& timeZone);

    // The values of the points from `start` to `at` for the trend line, then the live total when
    // one is given (only with fresh, complete data) and it differs from the last value.
    static std::vector<double> trendValues(const std::vector<PortfolioValuePoint>& points,
                                           Date start, Date at,
                                           const std::optional<Decimal>& liveTotal);
    // The points from `since` to `at` for the chart, then the live total at `at` when one is
    // given and it differs from the last sample.
    static std::vector<PortfolioTrendSample> trendSamples(
        const std::vector<PortfolioValuePoint>& points, Date since, Date at,
        const std::optional<Decimal>& liveTotal);

private:
    Decimal flowsBetween(Date after, Date upTo) const;

    const std::vector<PortfolioValuePoint>& m_points;
    const std::vector<CapitalFlow>& m_flows;
    Decimal m_currentTotal;
    bool m_adjustForFlows;
};

}  // namespace vantrell
