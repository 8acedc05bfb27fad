#pragma once

#include <QPointF>

#include <vector>

namespace vantrell::CardinalCurve {

// The tension of the value chart's curve: halfway between a Catmull-Rom spline (0) and
// straight segments (1).
inline constexpr double chartTension = 0.5;

// The cardinal spline through `points` with the given tension, as a polyline of `subdivisions`
// pieces per segment. It passes through every input point and keeps the first and last; the
// ends use their own point as the missing neighbour. Qt's spline series has no tension, so the
// chart feeds this polyline to plain line and area series instead.
std::vector<QPointF> smoothed(const std::vector<QPointF>& points, double tension, int subdivisions);

// Enough pieces per segment for a smooth curve without flooding the chart: many for a short
// series, few once the points are already dense.
int subdivisionsFor(std::size_t pointCount);

}  // namespace vantrell::CardinalCurve
