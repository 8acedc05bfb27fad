#pragma once

#include "models/Exchange.h"

#include <QWidget>

class QPainter;

namespace vantrell {

// An exchange's round badge: a coloured disc with the exchange's mark inset on all edges,
// `size` pixels across, padded by the widget's contents margins. The accessible name is the
// exchange's display name.
class ExchangeIcon : public QWidget {
    Q_OBJECT

public:
    ExchangeIcon(Exchange exchange, int size, QWidget* parent = nullptr);

    Exchange exchange() const { return m_exchange; }
    int badgeSize() const { return m_size; }

    // Draws the badge into `rect` (a square).
    static void paint(QPainter& painter, const QRectF& rect, Exchange exchange);
    static QColor discColor(Exchange exchange);
    // The inner mark's inset from each edge, as a fraction of the badge's size.
    static qreal insetFraction(Exchange exchange);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Exchange m_exchange;
    int m_size;
};

}  // namespace vantrell
