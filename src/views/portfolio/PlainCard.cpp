#include "views/portfolio/PlainCard.h"

#include "views/kit/VantrellPalette.h"

#include <QPainter>
#include <QPainterPath>

namespace vantrell {

PlainCard::PlainCard(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
}

void PlainCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 10, 10);
    painter.fillPath(path, VantrellPalette::card(this));
}

}  // namespace vantrell
