#include "window/Hairline.h"

#include "views/kit/VantrellPalette.h"

#include <QPainter>

namespace vantrell {

Hairline::Hairline(Qt::Orientation orientation, QWidget* parent) : QWidget(parent)
{
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
    } else {
        setFixedWidth(1);
    }
}

void Hairline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), VantrellPalette::divider(this));
}

}  // namespace vantrell
