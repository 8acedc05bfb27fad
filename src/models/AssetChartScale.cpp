#include "models/AssetChartScale.h"

#include <algorithm>
#include <cmath>

namespace vantrell::AssetChartScale {

Range domain(const std::vector<double>& values)
{
    if (values.empty()) {
        return {0, 1};
    }
    // Plain comparisons on purpose: a NaN never compares smaller or larger, so it never becomes
    // an extreme, unless it is the first value, which the finiteness test below then rejects.
    double lo = values.front();
    double hi = lo;
    for (const double value : values) {
        if (value < lo) {
            lo = value;
        }
        if (value > hi) {
            hi = value;
        }
    }
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        return {0, 1};
    }
    const double magnitude = std::max({std::abs(lo), std::abs(hi), 1.0});
    const double margin = std::max((hi - lo) * 0.16, magnitude * 0.001);
    return {lo - margin, hi + margin};
}

}  // namespace vantrell::AssetChartScale
