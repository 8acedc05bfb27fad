#include "views/kit/SymbolIcon.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <numbers>

namespace vantrell {

namespace {

// Every glyph is drawn in a 24 × 24 box; the painter is scaled to the requested size.
constexpr qreal unit = 24.0;
using Glyph = std::function<void(QPainter&, const QColor&)>;

QPen line(const QColor& color, qreal width = 2.0)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void stroke(QPainter& p, const QColor& c, const QPainterPath& path, qreal width = 2.0)
{
    p.strokePath(path, line(c, width));
}

// Cuts `path` out of what was drawn: the inner marks of the filled symbols.
void cut(QPainter& p, const QPainterPath& path, qreal width = 2.2, bool fill = false)
{
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    if (fill) {
        p.fillPath(path, Qt::black);
    } else {
        p.strokePath(path, line(Qt::black, width));
    }
    p.restore();
}

QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    for (const QPointF& point : points) {
        path.elementCount() == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    return path;
}

QPainterPath circle(QPointF centre, qreal radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath roundedRect(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// An open arc of a circle around (12, 12), angles in degrees, counter-clockwise on screen.
QPainterPath arc(qreal radius, qreal startDegrees, qreal sweepDegrees)
{
    const QRectF box(12 - radius, 12 - radius, 2 * radius, 2 * radius);
    QPainterPath path;
    path.arcMoveTo(box, startDegrees);
    path.arcTo(box, startDegrees, sweepDegrees);
    return path;
}

QPainterPath letter(QChar ch)
{
    QFont font;
    font.setPixelSize(13);
    font.setWeight(QFont::Black);
    QPainterPath path;
    path.addText(0, 0, font, QString(ch));
    const QRectF bounds = path.boundingRect();
    return path.translated(12 - bounds.center().x(), 12 - bounds.center().y());
}

void xmarkCircleFill(QPainter& p, const QColor& c)
{
    p.fillPath(circle({12, 12}, 11), c);
    cut(p, polyline({{8, 8}, {16, 16}}), 2.8);
    cut(p, polyline({{16, 8}, {8, 16}}), 2.8);
}

void arrowClockwise(QPainter& p, const QColor& c)
{
    stroke(p, c, arc(8, 60, -300));
    p.fillPath(polyline({{14.5, 1.5}, {19.5, 5.5}, {13.5, 8.5}}), c);
}

void gearshape(QPainter& p, const QColor& c)
{
    for (int i = 0; i < 8; ++i) {
        const qreal angle = i * std::numbers::pi / 4;
        const QPointF dir(std::cos(angle), std::sin(angle));
        p.strokePath(polyline({QPointF(12, 12) + dir * 7, QPointF(12, 12) + dir * 10.5}),
                     QPen(c, 3.2, Qt::SolidLine, Qt::FlatCap));
    }
    stroke(p, c, circle({12, 12}, 6.2), 2.6);
}

void power(QPainter& p, const QColor& c)
{
    stroke(p, c, arc(8.5, 55, -290));
    stroke(p, c, polyline({{12, 2}, {12, 11}}));
}

void arrowDownCircleFill(QPainter& p, const QColor& c)
{
    p.fillPath(circle({12, 12}, 10.5), c);
    cut(p, polyline({{12, 6.5}, {12, 17}}));
    cut(p, polyline({{7.5, 12.5}, {12, 17}, {16.5, 12.5}}));
}

void macwindow(QPainter& p, const QColor& c)
{
    stroke(p, c, roundedRect(QRectF(2.5, 4, 19, 16), 3), 1.8);
    stroke(p, c, polyline({{2.5, 8.5}, {21.5, 8.5}}), 1.8);
}

void pip(QPainter& p, const QColor& c)
{
    stroke(p, c, roundedRect(QRectF(2.5, 4, 19, 16), 3), 1.8);
    p.fillPath(roundedRect(QRectF(12, 12, 7, 5.5), 1.5), c);
}

void key(QPainter& p, const QColor& c)
{
    stroke(p, c, circle({7.5, 12}, 4.5), 2.2);
    stroke(p, c, polyline({{12, 12}, {21.5, 12}, {21.5, 16}}), 2.2);
    stroke(p, c, polyline({{17.5, 12}, {17.5, 15.5}}), 2.2);
}

QPainterPath triangle()
{
    QPainterPath path = polyline({{12, 2.5}, {22, 20.5}, {2, 20.5}});
    path.closeSubpath();
    return path;
}

void exclamationTriangleFill(QPainter& p, const QColor& c)
{
    p.strokePath(triangle(), line(c, 2.5));
    p.fillPath(triangle(), c);
    cut(p, polyline({{12, 8.5}, {12, 13.5}}));
    cut(p, circle({12, 17}, 1.3), 0, true);
}

void exclamationTriangle(QPainter& p, const QColor& c)
{
    stroke(p, c, triangle(), 1.9);
    stroke(p, c, polyline({{12, 9}, {12, 13.5}}));
    p.fillPath(circle({12, 17}, 1.2), c);
}

void arrowTriangleCirclepath(QPainter& p, const QColor& c)
{
    stroke(p, c, arc(8, 160, -140));
    stroke(p, c, arc(8, -20, -140));
    p.fillPath(polyline({{21, 9}, {20, 14.5}, {16, 10.5}}), c);
    p.fillPath(polyline({{3, 15}, {4, 9.5}, {8, 13.5}}), c);
}

void tray(QPainter& p, const QColor& c)
{
    stroke(p, c,
           polyline({{2.5, 13},
                     {5.5, 4.5},
                     {18.5, 4.5},
                     {21.5, 13},
                     {21.5, 19.5},
                     {2.5, 19.5},
                     {2.5, 13},
                     {8, 13},
                     {9.5, 15.5},
                     {14.5, 15.5},
                     {16, 13},
                     {21.5, 13}}),
           1.8);
}

void arrowUpArrowDown(QPainter& p, const QColor& c)
{
    stroke(p, c, polyline({{8, 20}, {8, 4}}));
    stroke(p, c, polyline({{4, 8}, {8, 4}, {12, 8}}));
    stroke(p, c, polyline({{16, 4}, {16, 20}}));
    stroke(p, c, polyline({{12, 16}, {16, 20}, {20, 16}}));
}

void checkmark(QPainter& p, const QColor& c)
{
    stroke(p, c, polyline({{4, 12.5}, {9.5, 18}, {20, 6}}), 2.6);
}

void checkmarkCircleFill(QPainter& p, const QColor& c)
{
    p.fillPath(circle({12, 12}, 10.5), c);
    cut(p, polyline({{7, 12.5}, {10.5, 16}, {17, 8.5}}), 2.4);
}

void arrowUpRightSquare(QPainter& p, const QColor& c)
{
    stroke(p, c, roundedRect(QRectF(3, 3, 18, 18), 4), 1.8);
    stroke(p, c, polyline({{8.5, 15.5}, {15.5, 8.5}}));
    stroke(p, c, polyline({{10, 8.5}, {15.5, 8.5}, {15.5, 14}}));
}

void trash(QPainter& p, const QColor& c)
{
    stroke(p, c, polyline({{3.5, 6}, {20.5, 6}}), 1.8);
    stroke(p, c, polyline({{9, 6}, {9, 3.5}, {15, 3.5}, {15, 6}}), 1.8);
    stroke(p, c, polyline({{5.5, 6}, {6.5, 21}, {17.5, 21}, {18.5, 6}}), 1.8);
    stroke(p, c, polyline({{10, 10}, {10, 17}}), 1.5);
    stroke(p, c, polyline({{14, 10}, {14, 17}}), 1.5);
}

void sliderHorizontal3(QPainter& p, const QColor& c)
{
    const qreal knobs[] = {15, 8, 13};
    for (int row = 0; row < 3; ++row) {
        const qreal y = 5 + row * 7;
        stroke(p, c, polyline({{3, y}, {21, y}}), 1.6);
        p.fillPath(circle({knobs[row], y}, 2.6), c);
    }
}

void plus(QPainter& p, const QColor& c)
{
    stroke(p, c, polyline({{12, 4}, {12, 20}}), 2.4);
    stroke(p, c, polyline({{4, 12}, {20, 12}}), 2.4);
}

void lockFill(QPainter& p, const QColor& c)
{
    stroke(p, c, polyline({{8, 11}, {8, 7.5}}), 2.2);
    stroke(p, c, polyline({{16, 11}, {16, 7.5}}), 2.2);
    stroke(p, c, arc(4, 0, 180).translated(0, -4.5), 2.2);
    p.fillPath(roundedRect(QRectF(4.5, 10.5, 15, 11), 2.5), c);
}

void house(QPainter& p, const QColor& c)
{
    stroke(p, c, polyline({{2.5, 12}, {12, 3.5}, {21.5, 12}}), 2);
    stroke(p, c, polyline({{5.5, 10}, {5.5, 20.5}, {18.5, 20.5}, {18.5, 10}}), 2);
    p.fillPath(roundedRect(QRectF(10, 14, 4, 6.5), 1), c);
}

void diamondFill(QPainter& p, const QColor& c)
{
    QPainterPath path = polyline({{12, 2}, {22, 12}, {12, 22}, {2, 12}});
    path.closeSubpath();
    p.strokePath(path, line(c, 1.5));
    p.fillPath(path, c);
}

void squareGrid3x3Fill(QPainter& p, const QColor& c)
{
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            p.fillPath(roundedRect(QRectF(2.5 + column * 7, 2.5 + row * 7, 5.5, 5.5), 1.2), c);
        }
    }
}

void letterCircleFill(QPainter& p, const QColor& c, QChar ch)
{
    p.fillPath(circle({12, 12}, 10.5), c);
    cut(p, letter(ch), 0, true);
}

void bSquareFill(QPainter& p, const QColor& c)
{
    p.fillPath(roundedRect(QRectF(2, 2, 20, 20), 4.5), c);
    cut(p, letter(QLatin1Char('B')), 0, true);
}

void link(QPainter& p, const QColor& c)
{
    p.save();
    p.translate(12, 12);
    p.rotate(-45);
    stroke(p, c, roundedRect(QRectF(-10, -3.5, 11, 7), 3.5), 2);
    stroke(p, c, roundedRect(QRectF(-1, -3.5, 11, 7), 3.5), 2);
    p.restore();
}

void briefcase(QPainter& p, const QColor& c)
{
    stroke(p, c, roundedRect(QRectF(2.5, 7, 19, 13.5), 2.5), 1.9);
    stroke(p, c, polyline({{9, 7}, {9, 4}, {15, 4}, {15, 7}}), 1.9);
    stroke(p, c, polyline({{2.5, 12.5}, {21.5, 12.5}}), 1.6);
}

void listBulletRectangle(QPainter& p, const QColor& c)
{
    stroke(p, c, roundedRect(QRectF(2, 3.5, 20, 17), 3), 1.7);
    for (int row = 0; row < 3; ++row) {
        const qreal y = 8 + row * 4;
        p.fillPath(circle({6.5, y}, 1.1), c);
        stroke(p, c, polyline({{9.5, y}, {18, y}}), 1.5);
    }
}

void chartBarXaxis(QPainter& p, const QColor& c)
{
    stroke(p, c, polyline({{2.5, 21}, {21.5, 21}}), 1.8);
    p.fillPath(roundedRect(QRectF(4, 12, 4, 7), 1), c);
    p.fillPath(roundedRect(QRectF(10, 5, 4, 14), 1), c);
    p.fillPath(roundedRect(QRectF(16, 9, 4, 10), 1), c);
}

void chartXyaxisLine(QPainter& p, const QColor& c)
{
    stroke(p, c, polyline({{3, 3}, {3, 21}, {21.5, 21}}), 1.8);
    stroke(p, c, polyline({{6, 16}, {10.5, 10.5}, {14, 13.5}, {20.5, 5.5}}), 2);
}

const QHash<QString, Glyph>& glyphs()
{
    static const QHash<QString, Glyph> table{
        {QStringLiteral("xmark.circle.fill"), xmarkCircleFill},
        {QStringLiteral("arrow.clockwise"), arrowClockwise},
        {QStringLiteral("gearshape"), gearshape},
        {QStringLiteral("power"), power},
        {QStringLiteral("arrow.down.circle.fill"), arrowDownCircleFill},
        {QStringLiteral("macwindow"), macwindow},
        {QStringLiteral("pip"), pip},
        {QStringLiteral("key"), key},
        {QStringLiteral("exclamationmark.triangle.fill"), exclamationTriangleFill},
        {QStringLiteral("exclamationmark.triangle"), exclamationTriangle},
        {QStringLiteral("arrow.triangle.2.circlepath"), arrowTriangleCirclepath},
        {QStringLiteral("tray"), tray},
        {QStringLiteral("arrow.up.arrow.down"), arrowUpArrowDown},
        {QStringLiteral("checkmark"), checkmark},
        {QStringLiteral("checkmark.circle.fill"), checkmarkCircleFill},
        {QStringLiteral("arrow.up.right.square"), arrowUpRightSquare},
        {QStringLiteral("trash"), trash},
        {QStringLiteral("slider.horizontal.3"), sliderHorizontal3},
        {QStringLiteral("plus"), plus},
        {QStringLiteral("lock.fill"), lockFill},
        {QStringLiteral("house"), house},
        {QStringLiteral("diamond.fill"), diamondFill},
        {QStringLiteral("square.grid.3x3.fill"), squareGrid3x3Fill},
        {QStringLiteral("b.circle.fill"),
         [](QPainter& p, const QColor& c) { letterCircleFill(p, c, QLatin1Char('B')); }},
        {QStringLiteral("b.square.fill"), bSquareFill},
        {QStringLiteral("g.circle.fill"),
         [](QPainter& p, const QColor& c) { letterCircleFill(p, c, QLatin1Char('G')); }},
        {QStringLiteral("link"), link},
        {QStringLiteral("briefcase"), briefcase},
        {QStringLiteral("list.bullet.rectangle"), listBulletRectangle},
        {QStringLiteral("chart.bar.xaxis"), chartBarXaxis},
        {QStringLiteral("chart.xyaxis.line"), chartXyaxisLine},
    };
    return table;
}

}  // namespace

QStringList SymbolIcon::names()
{
    QStringList names = glyphs().keys();
    names.sort();
    return names;
}

bool SymbolIcon::exists(const QString& name)
{
    return glyphs().contains(name);
}

bool SymbolIcon::paint(QPainter& painter, const QRectF& rect, const QString& name,
                       const QColor& color)
{
    const auto found = glyphs().constFind(name);
    if (found == glyphs().constEnd() || rect.isEmpty()) {
        return false;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / unit, rect.height() / unit);
    (*found)(painter, color);
    painter.restore();
    return true;
}

QPixmap SymbolIcon::pixmap(const QString& name, int pixelSize, const QColor& color,
                           qreal devicePixelRatio)
{
    const int side = qMax(1, qRound(qMax(pixelSize, 1) * devicePixelRatio));
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        paint(painter, QRectF(0, 0, side, side), name, color);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon SymbolIcon::icon(const QString& name, int pixelSize, const QColor& color)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(pixmap(name, pixelSize, color, ratio));
    }
    return icon;
}

}  // namespace vantrell
