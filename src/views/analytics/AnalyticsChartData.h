#pragma once

#include "models/AssetChartScale.h"
#include "models/CapitalFlow.h"
#include "models/Date.h"
#include "models/Decimal.h"
#include "models/PortfolioTrendSample.h"
#include "platform/SystemTimeZone.h"
#include "views/analytics/AnalyticsRange.h"

#include <QTimeZone>

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace vantrell {

class AppSettings;
class PortfolioStore;

// One drawn point: a sample's time and its total in the display currency.
struct AnalyticsChartPoint {
    Date date;
    double value = 0;

    Date id() const { return date; }
    friend bool operator==(const AnalyticsChartPoint&, const AnalyticsChartPoint&) = default;
};

// What the analytics page draws for one range, computed only when one of its triggers fires
// and kept until the next: painting reads it and never touches the history.
//
// The change figures and the range's high and low come from the full series in US dollars;
// only the drawn points are thinned (to about 500) and converted.
struct AnalyticsChartData {
    static constexpr int pointLimit = 500;
    // Per-point dots are drawn for this many points or fewer.
    static constexpr std::size_t largestDottedSeries = 24;

    using Conversion = std::function<std::optional<Decimal>(const Decimal&)>;

    std::vector<PortfolioTrendSample> samples;  // the range's samples, unreduced, USD
    std::vector<AnalyticsChartPoint> points;    // thinned, converted; unconvertible ones skipped
    AssetChartScale::Range yDomain;             // of the drawn points; 0...1 without any
    std::optional<Decimal> change;              // USD, net of flows when adjusting
    std::optional<Decimal> changePercent;       // per cent of the first sample; absent on 0
    std::optional<Decimal> highUSD;             // largest and smallest sample of the range
    std::optional<Decimal> lowUSD;

    // From the range's chronological samples. Change figures only when the data is fresh and
    // complete and there are two samples or more; with `adjustForFlows` the flows dated after
    // the first sample and up to the last one (first < t <= last) are taken out.
    static AnalyticsChartData build(std::vector<PortfolioTrendSample> samples,
                                    const std::vector<CapitalFlow>& flows,
                                    bool hasFreshCompleteData, bool adjustForFlows,
                                    const Conversion& convert);

    // The page's rebuild: the range ends at the store's last update (not the clock) and its
    // samples come from the store's history; amounts convert through the settings.
    static AnalyticsChartData rebuild(AnalyticsRange range, const PortfolioStore& store,
                                      const AppSettings& settings, bool adjustForFlows,
                                      const QTimeZone& timeZone = systemTimeZone());

    bool drawsPointDots() const { return points.size() <= largestDottedSeries; }

    // The index of the point nearest to `selected` in time; the earliest point wins a tie.
    // Nothing without points.
    std::optional<std::size_t> nearestPoint(Date selected) const;
};

}  // namespace vantrell
