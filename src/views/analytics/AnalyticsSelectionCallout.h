#pragma once

#include <QColor>
#include <QGraphicsItem>
#include <QString>

namespace vantrell {

// The annotation over the selected point of the value chart: its date over its amount, on a
// translucent rounded plate. Placed centred above its anchor, kept inside `bounds`.
class AnalyticsSelectionCallout : public QGraphicsItem {
public:
    struct Colors {
        QColor plate;
        QColor edge;
        QColor date;
        QColor amount;
    };

    explicit AnalyticsSelectionCallout(QGraphicsItem* parent = nullptr);

    void setTexts(const QString& date, const QString& amount);
    void setColors(const Colors& colors);
    // Moves the plate above `anchor` (below when there is no room above).
    void place(const QPointF& anchor, const QRectF& bounds);

    QString dateText() const { return m_date; }
    QString amountText() const { return m_amount; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    QSizeF plateSize() const;

    QString m_date;
    QString m_amount;
    Colors m_colors;
};

}  // namespace vantrell
