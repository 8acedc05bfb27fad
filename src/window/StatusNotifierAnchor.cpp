#include "window/StatusNotifierAnchor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vantrell {

namespace {

// A screen's extent on one axis in device pixels, wide enough for any int32 point and size.
struct DeviceSpan {
    std::int64_t first;
    std::int64_t last;
};

double ratioOf(const StatusNotifierAnchor::Screen& screen)
{
    return screen.devicePixelRatio > 0 ? screen.devicePixelRatio : 1.0;
}

DeviceSpan deviceSpan(int first, int length, double ratio)
{
    const auto deviceLength = static_cast<std::int64_t>(std::llround(length * ratio));
    return {first, first + std::max<std::int64_t>(deviceLength, 1) - 1};
}

DeviceSpan horizontal(const StatusNotifierAnchor::Screen& screen)
{
    return deviceSpan(screen.geometry.x(), screen.geometry.width(), ratioOf(screen));
}

DeviceSpan vertical(const StatusNotifierAnchor::Screen& screen)
{
    return deviceSpan(screen.geometry.y(), screen.geometry.height(), ratioOf(screen));
}

// How far a coordinate lies outside a span, in device pixels.
double outside(std::int64_t at, DeviceSpan span)
{
    return static_cast<double>(std::max<std::int64_t>({span.first - at, 0, at - span.last}));
}

double squaredDistance(QPoint point, const StatusNotifierAnchor::Screen& screen)
{
    const double dx = outside(point.x(), horizontal(screen));
    const double dy = outside(point.y(), vertical(screen));
    return dx * dx + dy * dy;
}

// The screen holding the point, or the one closest to it (the first of equals).
const StatusNotifierAnchor::Screen& nearest(
    QPoint point, const std::vector<StatusNotifierAnchor::Screen>& screens)
{
    return *std::min_element(screens.begin(), screens.end(), [point](const auto& a, const auto& b) {
        return squaredDistance(point, a) < squaredDistance(point, b);
    });
}

// One coordinate onto the screen's span, then from device to logical pixels.
int toLogical(int at, DeviceSpan span, int logicalLast, double ratio)
{
    const std::int64_t onScreen = std::clamp<std::int64_t>(at, span.first, span.last);
    const auto offset =
        static_cast<std::int64_t>(std::floor(static_cast<double>(onScreen - span.first) / ratio));
    return static_cast<int>(std::min<std::int64_t>(span.first + offset, logicalLast));
}

}  // namespace

std::optional<QPoint> StatusNotifierAnchor::logicalPoint(QPoint devicePoint,
                                                         const std::vector<Screen>& screens)
{
    if (screens.empty()) {
        return std::nullopt;
    }
    const Screen& screen = nearest(devicePoint, screens);
    const QRect& logical = screen.geometry;
    return QPoint(toLogical(devicePoint.x(), horizontal(screen), logical.right(), ratioOf(screen)),
                  toLogical(devicePoint.y(), vertical(screen), logical.bottom(), ratioOf(screen)));
}

QRect StatusNotifierAnchor::anchor(QPoint devicePoint, const std::vector<Screen>& screens)
{
    const std::optional<QPoint> point = logicalPoint(devicePoint, screens);
    return point ? QRect(*point, QSize(1, 1)) : QRect();
}

}  // namespace vantrell
