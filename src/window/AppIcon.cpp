#include "window/AppIcon.h"

#include "views/drawing/MenuBarMark.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vantrell {

QImage AppIcon::image(int pixelSize)
{
    QImage image(pixelSize, pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // A little inset, as desktop icons leave room around their shape.
    const qreal inset = pixelSize * 0.06;
    const QRectF tile(inset, inset, pixelSize - 2 * inset, pixelSize - 2 * inset);
    QLinearGradient gradient(tile.topLeft(), tile.bottomRight());
    gradient.setColorAt(0, QColor(0x2B, 0x6C, 0xF0));
    gradient.setColorAt(1, QColor(0x12, 0xA8, 0x9A));
    QPainterPath shape;
    shape.addRoundedRect(tile, tile.width() * 0.225, tile.height() * 0.225);
    painter.fillPath(shape, gradient);

    // The 17 × 15 mark, scaled to 60 % of the tile's width and centred.
    const qreal scale = tile.width() * 0.6 / MenuBarMark::markWidth;
    const QSizeF mark(MenuBarMark::markWidth * scale, MenuBarMark::markHeight * scale);
    painter.translate(tile.center() - QPointF(mark.width() / 2, mark.height() / 2));
    painter.scale(scale, scale);
    MenuBarMark::paint(painter, QPointF(0, 0), Qt::white);
    return image;
}

QIcon AppIcon::icon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(QPixmap::fromImage(image(size)));
    }
    return icon;
}

}  // namespace vantrell
