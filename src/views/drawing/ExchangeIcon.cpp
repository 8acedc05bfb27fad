#include "views/drawing/ExchangeIcon.h"

#include "views/drawing/ExchangeBrandMarks.h"

#include <QEvent>
#include <QPainter>

namespace vantrell {

ExchangeIcon::ExchangeIcon(Exchange exchange, int size, QWidget* parent)
    : QWidget(parent), m_exchange(exchange), m_size(size)
{
    setObjectName(QStringLiteral("exchangeIcon.") + caseName(exchange));
    setFixedSize(sizeHint());
    setAccessibleName(toStored(exchange));
}

QSize ExchangeIcon::sizeHint() const
{
    return QSize(m_size, m_size).grownBy(contentsMargins());
}

QSize ExchangeIcon::minimumSizeHint() const
{
    return sizeHint();
}

// The badge keeps its size; contents margins pad it.
void ExchangeIcon::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ContentsRectChange) {
        setFixedSize(sizeHint());
    }
    QWidget::changeEvent(event);
}

QColor ExchangeIcon::discColor(Exchange exchange)
{
    switch (exchange) {
        case Exchange::bitget:
            return QColor::fromRgbF(0.07f, 0.78f, 0.82f);
        case Exchange::gateio:
            return Qt::white;
        case Exchange::binance:
        case Exchange::okx:
        case Exchange::bybit:
            break;
    }
    return Qt::black;
}

qreal ExchangeIcon::insetFraction(Exchange exchange)
{
    switch (exchange) {
        case Exchange::bybit:
            return 0.16;
        case Exchange::gateio:
            return 0.17;
        case Exchange::binance:
        case Exchange::okx:
        case Exchange::bitget:
            break;
    }
    return 0.2;
}

void ExchangeIcon::paint(QPainter& painter, const QRectF& rect, Exchange exchange)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(discColor(exchange));
    painter.drawEllipse(rect);
    const qreal inset = insetFraction(exchange) * rect.width();
    const QRectF inner = rect.adjusted(inset, inset, -inset, -inset);
    switch (exchange) {
        case Exchange::binance:
            ExchangeBrandMarks::paintBinance(painter, inner);
            break;
        case Exchange::okx:
            ExchangeBrandMarks::paintOKX(painter, inner);
            break;
        case Exchange::bybit:
            ExchangeBrandMarks::paintBybit(painter, inner);
            break;
        case Exchange::bitget:
            ExchangeBrandMarks::paintBitget(painter, inner);
            break;
        case Exchange::gateio:
            ExchangeBrandMarks::paintGate(painter, inner);
            break;
    }
    painter.restore();
}

void ExchangeIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, QRectF(contentsRect().topLeft(), QSizeF(m_size, m_size)), m_exchange);
}

}  // namespace vantrell
