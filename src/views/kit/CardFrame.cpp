#include "views/kit/CardFrame.h"

#include "views/kit/VantrellPalette.h"

#include <QPainter>
#include <QPainterPath>

namespace vantrell {

CardFrame::CardFrame(qreal cornerRadius, QWidget* parent)
    : QFrame(parent), m_cornerRadius(cornerRadius)
{
    setFrameShape(QFrame::NoFrame);
}

void CardFrame::setCornerRadius(qreal radius)
{
    m_cornerRadius = radius;
    update();
}

void CardFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The 1 px edge is drawn on the half-pixel so it stays sharp and inside the widget.
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(box, m_cornerRadius, m_cornerRadius);
    painter.fillPath(path, VantrellPalette::card(this));
    painter.strokePath(path, QPen(VantrellPalette::divider(this), 1));
}

}  // namespace vantrell
