#include "views/analytics/CardinalCurve.h"

#include <algorithm>

namespace vantrell::CardinalCurve {

namespace {

QPointF bezier(const QPointF& p0, const QPointF& c1, const QPointF& c2, const QPointF& p1, double t)
{
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t * p1;
}

}  // namespace

std::vector<QPointF> smoothed(const std::vector<QPointF>& points, double tension, int subdivisions)
{
    if (points.size() < 3 || subdivisions < 2) {
        return points;
    }
    // The segment p1 -> p2 as a cubic Bezier whose handles follow the neighbours p0 and p3.
    const double k = (1 - tension) / 6;
    std::vector<QPointF> curve;
    curve.reserve((points.size() - 1) * static_cast<std::size_t>(subdivisions) + 1);
    curve.push_back(points.front());
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const QPointF& p0 = points[i == 0 ? 0 : i - 1];
        const QPointF& p1 = points[i];
        const QPointF& p2 = points[i + 1];
        const QPointF& p3 = points[std::min(i + 2, points.size() - 1)];
        const QPointF c1 = p1 + (p2 - p0) * k;
        const QPointF c2 = p2 - (p3 - p1) * k;
        for (int step = 1; step < subdivisions; ++step) {
            curve.push_back(bezier(p1, c1, c2, p2, double(step) / subdivisions));
        }
        curve.push_back(p2);
    }
    return curve;
}

int subdivisionsFor(std::size_t pointCount)
{
    if (pointCount == 0) {
        return 2;
    }
    return std::clamp(static_cast<int>(2400 / pointCount), 2, 12);
}

}  // namespace vantrell::CardinalCurve
