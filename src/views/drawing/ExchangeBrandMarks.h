#pragma once

#include <QRectF>

class QPainter;

namespace vantrell {

// The inner marks of the exchange badges, our own simple drawings. Each fills the given inner
// rectangle of the badge; the Bybit mark keeps fixed sizes whatever the rectangle (it may
// overflow a small badge and is not clipped).
class ExchangeBrandMarks {
public:
    ExchangeBrandMarks() = delete;

    static void paintBinance(QPainter& painter, const QRectF& rect);
    static void paintOKX(QPainter& painter, const QRectF& rect);
    static void paintBybit(QPainter& painter, const QRectF& rect);
    static void paintBitget(QPainter& painter, const QRectF& rect);
    static void paintGate(QPainter& painter, const QRectF& rect);
};

}  // namespace vantrell
