#pragma once

#include "settings/FloatingDisplayStyle.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace vantrell {

// The floating panel's sizes per style and its placement rules, in Qt's coordinates (y grows
// downwards; a screen's available geometry is its usable area). Pure functions: the screen is
// passed in, so any screen size can be tested.
class FloatingPanelGeometry {
public:
    FloatingPanelGeometry() = delete;

    struct StyleMetrics {
        QSize minimumSize;
        QSize maximumSize;
        QSize contentSize;  // the size a style change sets
        bool hasShadow;
    };

    static constexpr int defaultMargin = 20;  // the default place, in from the top-right corner
    static const QString autosaveKey;         // "VantrellFloatingPanelV2"
    static constexpr QSize initialSize{350, 180};

    static StyleMetrics metrics(FloatingDisplayStyle style);

    // The frame after a change to `style`: the style's content size with the top-right corner
    // of `current` kept, then moved into `available` (left bound before right bound, bottom
    // before top, so a panel larger than the area ends right- and top-aligned). Without a
    // screen only the size changes.
    static QRect configured(const QRect& current, FloatingDisplayStyle style,
                            const std::optional<QRect>& available);
    // The default frame: `defaultMargin` in from the top-right corner of the area, or centred
    // in `fallbackArea` without a screen.
    static QRect topRightDefault(const QSize& size, const std::optional<QRect>& available,
                                 const QRect& fallbackArea = QRect());

    // Stored frames beyond this, in any of the four numbers, are read as nothing stored: far
    // larger than any screen, and small enough that QRect's sums of them cannot overflow.
    static constexpr int storedFrameLimit = 1 << 24;

    // The stored form of a frame, "x y width height", and back; nothing unless the text holds
    // four integers within ±storedFrameLimit and a positive size.
    static QString encodeFrame(const QRect& frame);
    static std::optional<QRect> decodeFrame(const QString& text);
};

}  // namespace vantrell
