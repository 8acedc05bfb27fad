#include "window/FloatingPanelGeometry.h"

#include <QStringList>

#include <algorithm>

namespace vantrell {

const QString FloatingPanelGeometry::autosaveKey = QStringLiteral("VantrellFloatingPanelV2");

FloatingPanelGeometry::StyleMetrics FloatingPanelGeometry::metrics(FloatingDisplayStyle style)
{
    switch (style) {
        case FloatingDisplayStyle::compact:
            return {{250, 70}, {380, 120}, {270, 76}, true};
        case FloatingDisplayStyle::transparent:
            return {{220, 32}, {320, 54}, {240, 34}, false};
        case FloatingDisplayStyle::full:
            break;
    }
    return {{330, 132}, {500, 220}, {350, 142}, true};
}

QRect FloatingPanelGeometry::configured(const QRect& current, FloatingDisplayStyle style,
                                        const std::optional<QRect>& available)
{
    const QSize size = metrics(style).contentSize;
    if (!available) {
        return {current.topLeft(), size};
    }
    const int right = current.x() + current.width();
    const int top = current.y();
    const QRect& a = *available;
    const int x = std::min(std::max(right - size.width(), a.x()), a.x() + a.width() - size.width());
    const int y = std::max(std::min(top, a.y() + a.height() - size.height()), a.y());
    return {QPoint(x, y), size};
}

QRect FloatingPanelGeometry::topRightDefault(const QSize& size,
                                             const std::optional<QRect>& available,
                                             const QRect& fallbackArea)
{
    if (!available) {
        QRect centred(QPoint(0, 0), size);
        centred.moveCenter(fallbackArea.center());
        return centred;
    }
    const QRect& a = *available;
    return {QPoint(a.x() + a.width() - size.width() - defaultMargin, a.y() + defaultMargin), size};
}

QString FloatingPanelGeometry::encodeFrame(const QRect& frame)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height());
}

std::optional<QRect> FloatingPanelGeometry::decodeFrame(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 4) {
        return std::nullopt;
    }
    int numbers[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts.at(i).toInt(&ok);
        if (!ok || numbers[i] < -storedFrameLimit || numbers[i] > storedFrameLimit) {
            return std::nullopt;
        }
    }
    if (numbers[2] <= 0 || numbers[3] <= 0) {
        return std::nullopt;
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

}  // namespace vantrell
