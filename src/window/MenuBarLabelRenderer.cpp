#include "window/MenuBarLabelRenderer.h"

#include "views/drawing/MenuBarMark.h"
#include "views/kit/ViewFonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vantrell {

QFont MenuBarLabelRenderer::titleFont()
{
    return ViewFonts::font(13, QFont::DemiBold);
}

QSize MenuBarLabelRenderer::size(const std::optional<QString>& title)
{
    if (!title) {
        return {MenuBarMark::markWidth, MenuBarMark::markHeight};
    }
    const QFontMetrics metrics(titleFont());
    const int textWidth = metrics.horizontalAdvance(*title);
    return {MenuBarMark::markWidth + spacing + textWidth,
            std::max(MenuBarMark::markHeight, metrics.height())};
}

QImage MenuBarLabelRenderer::render(const std::optional<QString>& title, const QColor& ink,
                                    qreal devicePixelRatio)
{
    const QSize logical = size(title);
    QImage image(static_cast<int>(std::ceil(logical.width() * devicePixelRatio)),
                 static_cast<int>(std::ceil(logical.height() * devicePixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    const qreal markTop = (logical.height() - MenuBarMark::markHeight) / 2.0;
    MenuBarMark::paint(painter, QPointF(0, markTop), ink);
    if (title) {
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(titleFont());
        painter.setPen(ink);
        const QRectF textRect(MenuBarMark::markWidth + spacing, 0,
                              logical.width() - MenuBarMark::markWidth - spacing, logical.height());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, *title);
    }
    return image;
}

QImage MenuBarLabelRenderer::squareMark(int side, const QColor& ink)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    // The mark is wider than high: its width fills the square.
    const qreal scale = qreal(side) / MenuBarMark::markWidth;
    painter.translate(0, (side - MenuBarMark::markHeight * scale) / 2.0);
    painter.scale(scale, scale);
    MenuBarMark::paint(painter, QPointF(0, 0), ink);
    return image;
}

}  // namespace vantrell
