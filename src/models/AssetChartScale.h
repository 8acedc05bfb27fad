#pragma once

#include <vector>

namespace vantrell::AssetChartScale {

// A closed range of the value axis; `lower` is never above `upper`.
struct Range {
    double lower = 0;
    double upper = 1;

    friend bool operator==(const Range&, const Range&) = default;
};

// The value axis for the given chart values: their extremes widened by a margin of 16 % of the
// spread, and at least 0.1 % of the largest magnitude (or of 1), so a flat line is not drawn on
// the frame. Values that are not numbers are passed over; no values, or an infinite extreme,
// give 0 to 1.
Range domain(const std::vector<double>& values);

}  // namespace vantrell::AssetChartScale
