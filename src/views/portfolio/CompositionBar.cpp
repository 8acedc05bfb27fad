#include "views/portfolio/CompositionBar.h"

#include "views/kit/VantrellPalette.h"
#include "views/portfolio/OverviewModel.h"

#include <QPainter>
#include <QPainterPath>

namespace vantrell {

CompositionBar::CompositionBar(std::vector<double> fractions, QWidget* parent)
    : QWidget(parent), m_fractions(std::move(fractions))
{
    setObjectName(QStringLiteral("compositionBar"));
    setFixedHeight(5);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CompositionBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Shares that add up to more than the whole are cut at the bar's end.
    painter.setClipRect(rect());
    const auto segment = [&](qreal x, qreal w, QColor color) {
        QPainterPath path;
        path.addRoundedRect(QRectF(x, 0, w, height()), 2, 2);
        painter.fillPath(path, color);
    };
    if (m_fractions.empty()) {
        QColor grey = VantrellPalette::secondary(this);
        grey.setAlphaF(0.18);
        segment(0, width(), grey);
        return;
    }
    const std::vector<double> widths = OverviewModel::segmentWidths(m_fractions, width());
    qreal x = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        QColor color = i == 0 ? QColor(0x32, 0xAD, 0xE6) : QColor(0x58, 0x56, 0xD6);
        if (i > 0) {
            color.setAlphaF(0.85);
        }
        segment(x, widths[i], color);
        x += widths[i] + 2;
    }
}

}  // namespace vantrell
