#include "store/PortfolioPerformance.h"

#include <algorithm>

namespace vantrell {

PortfolioPerformance::PortfolioPerformance(const std::vector<PortfolioValuePoint>& points,
                                           const std::vector<CapitalFlow>& flows,
                                           Decimal currentTotal, bool adjustForFlows)
    : m_points(points),
      m_flows(flows),
      m_currentTotal(std::move(currentTotal)),
      m_adjustForFlows(adjustForFlows)
{
}

PortfolioPerformance::Change PortfolioPerformance::change(Date since, Date at) const
{
    const std::optional<PortfolioValuePoint> base = basePoint(m_points, since, at);
    if (!base) {
        return {};
    }
    Decimal pnl = m_currentTotal - base->totalValue;
    if (m_adjustForFlows) {
        pnl -= flowsBetween(base->timestamp, at);
    }
    if (base->totalValue.isZero()) {
        return {pnl, std::nullopt};
    }
    return {pnl, pnl / base->totalValue * Decimal(100)};
}

PortfolioPerformance::Figures PortfolioPerformance::figures(Date at,
                                                            const QTimeZone& timeZone) const
{
    return {change(at.addingSeconds(-dayLength), at), change(startOfDay(at, timeZone), at)};
}

std::optional<PortfolioValuePoint> PortfolioPerformance::basePoint(
    const std::vector<PortfolioValuePoint>& points, Date since, Date at)
{
    // Walks back from the newest point and stops at the first one at or before the start.
    const auto newest = std::find_if(points.rbegin(), points.rend(), [&](const auto& point) {
        return point.timestamp <= since && point.timestamp < at;
    });
    if (newest != points.rend() && since.secondsSince(newest->timestamp) <= largestBaseGap) {
        return *newest;
    }
    const auto oldest = std::find_if(points.begin(), points.end(), [&](const auto& point) {
        return point.timestamp >= since && point.timestamp < at;
    });
    if (oldest != points.end()) {
        return *oldest;
    }
    return std::nullopt;
}

Date PortfolioPerformance::startOfDay(Date at, const QTimeZone& timeZone)
{
    const QDate day = at.toDateTime().toTimeZone(timeZone).date();
    return Date::fromDateTime(day.startOfDay(timeZone));
}

Date PortfolioPerformance::periodStart(PerformancePeriod period, Date at, const QTimeZone& timeZone)
{
    if (period == PerformancePeriod::today) {
        return startOfDay(at, timeZone);
    }
    return at.addingSeconds(-dayLength);
}

std::vector<double> PortfolioPerformance::trendValues(
    const std::vector<PortfolioValuePoint>& points, Date start, Date at,
    const std::optional<Decimal>& liveTotal)
{
    std::vector<double> values;
    for (const PortfolioValuePoint& point : points) {
        if (point.timestamp >= start && point.timestamp <= at) {
            values.push_back(point.totalValue.toDouble());
        }
    }
    if (liveTotal) {
        const double live = liveTotal->toDouble();
        if (values.empty() || values.back() != live) {
            values.push_back(live);
        }
    }
    return values;
}

std::vector<PortfolioTrendSample> PortfolioPerformance::trendSamples(
    const std::vector<PortfolioValuePoint>& points, Date since, Date at,
    const std::optional<Decimal>& liveTotal)
{
    std::vector<PortfolioTrendSample> samples;
    for (const PortfolioValuePoint& point : points) {
        if (point.timestamp >= since && point.timestamp <= at) {
            samples.push_back({point.timestamp, point.totalValue});
        }
    }
    if (liveTotal && (samples.empty() || samples.back().totalValue != *liveTotal)) {
        samples.push_back({at, *liveTotal});
    }
    return samples;
}

Decimal PortfolioPerformance::flowsBetween(Date after, Date upTo) const
{
    Decimal sum;
    for (const CapitalFlow& flow : m_flows) {
        if (flow.timestamp > after && flow.timestamp <= upTo) {
            sum += flow.amountUSD;
        }
    }
    return sum;
}

}  // namespace vantrell
