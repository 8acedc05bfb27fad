#include "views/portfolio/DividerLine.h"

#include "views/kit/VantrellPalette.h"

#include <QPainter>

namespace vantrell {

DividerLine::DividerLine(int leadingInset, QWidget* parent) : QWidget(parent), m_inset(leadingInset)
{
    setObjectName(QStringLiteral("divider"));
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void DividerLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(QRect(m_inset, 0, width() - m_inset, 1), VantrellPalette::divider(this));
}

}  // namespace vantrell
