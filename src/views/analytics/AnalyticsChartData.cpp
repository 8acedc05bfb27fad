#include "views/analytics/AnalyticsChartData.h"

#include "models/ChartSampling.h"
#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"

#include <algorithm>
#include <cmath>

namespace vantrell {

namespace {

std::vector<AnalyticsChartPoint> chartPoints(const std::vector<PortfolioTrendSample>& reduced,
                                             const AnalyticsChartData::Conversion& convert)
{
    std::vector<AnalyticsChartPoint> points;
    points.reserve(reduced.size());
    for (const PortfolioTrendSample& sample : reduced) {
        if (const std::optional<Decimal> amount = convert(sample.totalValue)) {
            points.push_back({sample.timestamp, amount->toDouble()});
        }
    }
    return points;
}

Decimal flowsBetween(const std::vector<CapitalFlow>& flows, Date after, Date upTo)
{
    Decimal sum;
    for (const CapitalFlow& flow : flows) {
        if (flow.timestamp > after && flow.timestamp <= upTo) {
            sum += flow.amountUSD;
        }
    }
    return sum;
}

}  // namespace

AnalyticsChartData AnalyticsChartData::build(std::vector<PortfolioTrendSample> samples,
                                             const std::vector<CapitalFlow>& flows,
                                             bool hasFreshCompleteData, bool adjustForFlows,
                                             const Conversion& convert)
{
    AnalyticsChartData data;
    // The thinned series keeps every bucket's lowest and highest sample besides the ends, so
    // its extremes are those of the whole range: no need to scan all samples for them.
    const std::vector<PortfolioTrendSample> reduced = ChartSampling::reduce(samples, pointLimit);
    data.points = chartPoints(reduced, convert);
    std::vector<double> values;
    values.reserve(data.points.size());
    for (const AnalyticsChartPoint& point : data.points) {
        values.push_back(point.value);
    }
    data.yDomain = AssetChartScale::domain(values);

    if (!reduced.empty()) {
        const auto [low, high] = std::minmax_element(
            reduced.begin(), reduced.end(),
            [](const auto& a, const auto& b) { return a.totalValue < b.totalValue; });
        data.lowUSD = low->totalValue;
        data.highUSD = high->totalValue;
    }
    if (hasFreshCompleteData && samples.size() >= 2) {
        const PortfolioTrendSample& first = samples.front();
        const PortfolioTrendSample& last = samples.back();
        Decimal change = last.totalValue - first.totalValue;
        if (adjustForFlows) {
            change -= flowsBetween(flows, first.timestamp, last.timestamp);
        }
        data.change = change;
        if (!first.totalValue.isZero()) {
            data.changePercent = change / first.totalValue * Decimal(100);
        }
    }
    data.samples = std::move(samples);
    return data;
}

AnalyticsChartData AnalyticsChartData::rebuild(AnalyticsRange range, const PortfolioStore& store,
                                               const AppSettings& settings, bool adjustForFlows,
                                               const QTimeZone& timeZone)
{
    const Date now = store.lastUpdated();
    return build(store.trendSamples(rangeStart(range, now, timeZone), now), store.capitalFlows(),
                 store.hasFreshCompleteData(), adjustForFlows,
                 [&settings](const Decimal& usd) { return settings.convertedAmount(usd); });
}

std::optional<std::size_t> AnalyticsChartData::nearestPoint(Date selected) const
{
    std::optional<std::size_t> best;
    double bestDistance = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double distance = std::abs(points[i].date.secondsSince(selected));
        // Strictly smaller only, so the earliest of equally near points stays.
        if (!best || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace vantrell
