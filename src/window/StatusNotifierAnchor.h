#pragma once

#include <QPoint>
#include <QRect>

#include <optional>
#include <vector>

namespace vantrell {

// Where the popover opens for a click a StatusNotifierItem host reports. Any client on the
// session bus can send the point, in device pixels, so it is first moved onto the nearest
// screen and then mapped to Qt's logical pixels there. Qt keeps each screen's top-left corner
// the same in both, and scales the rest of the screen by its device pixel ratio.
class StatusNotifierAnchor {
public:
    struct Screen {
        // In logical pixels.
        QRect geometry;
        double devicePixelRatio = 1.0;
    };

    // The logical point on the desktop for a device point; nothing without a screen.
    static std::optional<QPoint> logicalPoint(QPoint devicePoint,
                                              const std::vector<Screen>& screens);
    // The one-pixel anchor under the point, or an invalid rectangle without a screen.
    static QRect anchor(QPoint devicePoint, const std::vector<Screen>& screens);
};

}  // namespace vantrell
