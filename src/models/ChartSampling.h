#pragma once

#include "models/PortfolioTrendSample.h"

#include <vector>

namespace vantrell::ChartSampling {

// Thins a value history (ascending time) to at most `limit` samples for a line chart. The first
// and last samples are kept, and the interior is split into (limit - 2) / 2 buckets of which the
// lowest and the highest sample survive, so the thinned line shows the same extremes as the
// full one. A limit below 4, or a history no longer than the limit, is returned unchanged.
std::vector<PortfolioTrendSample> reduce(const std::vector<PortfolioTrendSample>& samples,
                                         int limit);

}  // namespace vantrell::ChartSampling
