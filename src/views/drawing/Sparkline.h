#pragma once

#include <QColor>
#include <QPointF>
#include <QWidget>

#include <vector>

class QPainter;

namespace vantrell {

// A small line of values scaled into the widget: the lowest value on the bottom edge, the
// highest on the top edge, the first on the left edge and the last on the right edge. Equal
// values lie flat along the bottom; a single value draws nothing. Values that are not finite
// are left out.
class Sparkline : public QWidget {
    Q_OBJECT

public:
    explicit Sparkline(std::vector<double> values = {}, QColor color = QColor(),
                       QWidget* parent = nullptr);

    const std::vector<double>& values() const { return m_values; }
    void setValues(std::vector<double> values);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    // The line's points in a W × H box.
    static std::vector<QPointF> points(const std::vector<double>& values, qreal width,
                                       qreal height);
    static void paint(QPainter& painter, const QRectF& rect, const std::vector<double>& values,
                      const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<double> m_values;
    QColor m_color;
};

}  // namespace vantrell
