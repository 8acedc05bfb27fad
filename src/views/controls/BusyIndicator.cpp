#include "views/controls/BusyIndicator.h"

#include "views/kit/VantrellPalette.h"

#include <QPainter>
#include <QPixmap>
#include <QTimer>

namespace vantrell {

namespace {

constexpr int frameMilliseconds = 80;

void paintArc(QPainter& painter, const QRectF& box, int step, const QColor& color)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal width = qMax<qreal>(1.5, box.width() / 7);
    QColor track = color;
    track.setAlphaF(0.2);
    const QRectF ring = box.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    painter.setPen(QPen(track, width));
    painter.drawEllipse(ring);
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    const int start = 90 * 16 - step * (360 * 16 / BusyIndicator::steps);
    painter.drawArc(ring, start, 100 * 16);
}

}  // namespace

BusyIndicator::BusyIndicator(int size, QWidget* parent)
    : QWidget(parent), m_size(size), m_timer(new QTimer(this))
{
    setFixedSize(size, size);
    m_timer->setInterval(frameMilliseconds);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % steps;
        update();
    });
}

QIcon BusyIndicator::frame(int step, int size, const QColor& color)
{
    const qreal ratio = 2;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintArc(painter, QRectF(0, 0, size, size), step % steps, color);
    painter.end();
    return QIcon(pixmap);
}

void BusyIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintArc(painter, QRectF(rect()), m_step, VantrellPalette::secondary(this));
}

void BusyIndicator::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_timer->start();
}

void BusyIndicator::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

}  // namespace vantrell
