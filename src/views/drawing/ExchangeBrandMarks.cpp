#include "views/drawing/ExchangeBrandMarks.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace vantrell {

namespace {

QPen markPen(const QColor& color, qreal width)
{
    QPen pen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    return pen;
}

QPointF at(const QRectF& r, qreal fx, qreal fy)
{
    return {r.x() + fx * r.width(), r.y() + fy * r.height()};
}

QPainterPath polyline(const QRectF& r, std::initializer_list<std::pair<qreal, qreal>> points)
{
    QPainterPath path;
    for (const auto& [fx, fy] : points) {
        path.elementCount() == 0 ? path.moveTo(at(r, fx, fy)) : path.lineTo(at(r, fx, fy));
    }
    return path;
}

}  // namespace

void ExchangeBrandMarks::paintBinance(QPainter& painter, const QRectF& rect)
{
    // A gold diamond inside a thin gold ring of four diamonds' tips.
    const QColor gold = QColor::fromRgbF(0.95f, 0.73f, 0.04f);
    const QPointF c = rect.center();
    const qreal r = std::min(rect.width(), rect.height()) / 2;
    QPainterPath inner;
    inner.moveTo(c.x(), c.y() - 0.42 * r);
    inner.lineTo(c.x() + 0.42 * r, c.y());
    inner.lineTo(c.x(), c.y() + 0.42 * r);
    inner.lineTo(c.x() - 0.42 * r, c.y());
    inner.closeSubpath();
    painter.fillPath(inner, gold);
    QPainterPath outer;
    outer.moveTo(c.x(), c.y() - r);
    outer.lineTo(c.x() + r, c.y());
    outer.lineTo(c.x(), c.y() + r);
    outer.lineTo(c.x() - r, c.y());
    outer.closeSubpath();
    painter.strokePath(outer, markPen(gold, std::max(0.14 * r, 1.0)));
}

void ExchangeBrandMarks::paintOKX(QPainter& painter, const QRectF& rect)
{
    // The letters "OK" in white, fitted to the inner rectangle.
    QFont font;
    font.setWeight(QFont::Black);
    font.setPixelSize(std::max(1, qRound(rect.height() * 0.7)));
    const QString text = QStringLiteral("OK");
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > rect.width()) {
        font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * rect.width() / width)));
    }
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(rect, Qt::AlignCenter, text);
}

void ExchangeBrandMarks::paintBybit(QPainter& painter, const QRectF& rect)
{
    QFont font;
    font.setPixelSize(8);
    font.setWeight(QFont::Black);
    const QFontMetricsF metrics(font);
    const QString text = QStringLiteral("BY");
    constexpr qreal spacing = 1;
    const QSizeF bar(2, 9);
    const qreal textWidth = metrics.horizontalAdvance(text);
    const qreal left = rect.center().x() - (textWidth + spacing + bar.width()) / 2;

    painter.setFont(font);
    painter.setPen(Qt::white);
    const qreal baseline = rect.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    painter.drawText(QPointF(left, baseline), text);
    QPainterPath barPath;
    barPath.addRoundedRect(
        QRectF(QPointF(left + textWidth + spacing, rect.center().y() - bar.height() / 2), bar), 0.5,
        0.5);
    painter.fillPath(barPath, QColor::fromRgbF(0.96f, 0.65f, 0.0f));
}

void ExchangeBrandMarks::paintBitget(QPainter& painter, const QRectF& rect)
{
    const QPen pen = markPen(Qt::white, std::max(0.19 * rect.width(), 1.8));
    painter.strokePath(polyline(rect, {{0.14, 0.17}, {0.48, 0.17}, {0.82, 0.5}, {0.48, 0.5}}), pen);
    painter.strokePath(polyline(rect, {{0.86, 0.83}, {0.52, 0.83}, {0.18, 0.5}, {0.52, 0.5}}), pen);
}

void ExchangeBrandMarks::paintGate(QPainter& painter, const QRectF& rect)
{
    const qreal w = rect.width();
    const qreal h = rect.height();
    const qreal lineWidth = std::max(0.18 * w, 2.0);
    const qreal radius = 0.5 * w - 0.5 * lineWidth;
    const QPointF centre = at(rect, 0.5, 0.5);
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // From the lower right, clockwise on screen through the bottom, left and top to the upper
    // right: the opening faces right.
    QPainterPath arc;
    arc.arcMoveTo(circle, -45);
    arc.arcTo(circle, -45, -270);
    painter.strokePath(arc, markPen(QColor::fromRgbF(0.08f, 0.65f, 0.83f), lineWidth));

    QPainterPath square;
    square.addRoundedRect(QRectF(at(rect, 0.52, 0.49), QSizeF(0.34 * w, 0.34 * h)), 1, 1);
    painter.fillPath(square, QColor::fromRgbF(0.16f, 0.77f, 0.59f));
}

}  // namespace vantrell
