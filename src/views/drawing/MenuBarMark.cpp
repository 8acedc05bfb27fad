#include "views/drawing/MenuBarMark.h"

#include "views/kit/VantrellPalette.h"

#include <QPainter>
#include <QPainterPath>

namespace vantrell {

MenuBarMark::MenuBarMark(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("menuBarMark"));
    setFixedSize(markWidth, markHeight);
}

void MenuBarMark::paint(QPainter& painter, QPointF origin, const QColor& ink)
{
    struct Bar {
        qreal left;
        qreal height;
    };
    constexpr Bar bars[] = {{2, 6}, {7, 10}, {12, 14}};
    constexpr qreal barWidth = 2.5;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(origin);
    QPainterPath barsPath;
    for (const Bar& bar : bars) {
        barsPath.addRoundedRect(QRectF(bar.left, markHeight - bar.height, barWidth, bar.height), 1,
                                1);
    }
    painter.fillPath(barsPath, ink);

    QPainterPath trend;
    trend.moveTo(1.5, 9);
    trend.lineTo(6, 6.5);
    trend.lineTo(10, 8);
    trend.lineTo(15, 2);
    QPen pen(ink, 1.35, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setMiterLimit(10);
    painter.strokePath(trend, pen);
    painter.restore();
}

void MenuBarMark::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, QPointF(0, 0), VantrellPalette::primary(this));
}

}  // namespace vantrell
