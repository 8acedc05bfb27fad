#include "views/drawing/Sparkline.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace vantrell {

Sparkline::Sparkline(std::vector<double> values, QColor color, QWidget* parent)
    : QWidget(parent), m_values(std::move(values)), m_color(color)
{
    setObjectName(QStringLiteral("sparkline"));
}

void Sparkline::setValues(std::vector<double> values)
{
    m_values = std::move(values);
    update();
}

void Sparkline::setColor(const QColor& color)
{
    m_color = color;
    update();
}

std::vector<QPointF> Sparkline::points(const std::vector<double>& values, qreal width, qreal height)
{
    std::vector<double> finite;
    std::copy_if(values.begin(), values.end(), std::back_inserter(finite),
                 [](double v) { return std::isfinite(v); });
    if (finite.empty()) {
        return {};
    }
    const auto [low, high] = std::minmax_element(finite.begin(), finite.end());
    const double range = std::max(*high - *low, 0.01);
    const double steps = static_cast<double>(std::max<size_t>(finite.size() - 1, 1));
    std::vector<QPointF> result;
    result.reserve(finite.size());
    for (size_t i = 0; i < finite.size(); ++i) {
        result.emplace_back(width * static_cast<double>(i) / steps,
                            height * (1 - (finite[i] - *low) / range));
    }
    return result;
}

void Sparkline::paint(QPainter& painter, const QRectF& rect, const std::vector<double>& values,
                      const QColor& color)
{
    const std::vector<QPointF> line = points(values, rect.width(), rect.height());
    if (line.size() < 2) {
        return;  // a lone point would show as a round cap's dot
    }
    QPainterPath path(line.front());
    for (size_t i = 1; i < line.size(); ++i) {
        path.lineTo(line[i]);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.strokePath(path, QPen(color, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.restore();
}

void Sparkline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_values, m_color);
}

}  // namespace vantrell
