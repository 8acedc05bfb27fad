#include "views/kit/FitLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace vantrell {

FitLabel::FitLabel(const QFont& font, qreal minimumScaleFactor, QWidget* parent)
    : QWidget(parent), m_minimumScaleFactor(qBound(0.1, minimumScaleFactor, 1.0))
{
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void FitLabel::setText(const QString& text)
{
    if (text == m_text) {
        return;
    }
    m_text = text;
    updateGeometry();
    update();
}

void FitLabel::setMinimumScaleFactor(qreal factor)
{
    m_minimumScaleFactor = qBound(0.1, factor, 1.0);
    updateGeometry();
    update();
}

void FitLabel::setColorProvider(ColorProvider provider)
{
    m_colorProvider = std::move(provider);
    update();
}

QColor FitLabel::color() const
{
    return m_colorProvider ? m_colorProvider(this) : palette().color(QPalette::WindowText);
}

void FitLabel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

int FitLabel::basePixelSize() const
{
    const int size = font().pixelSize();
    return size > 0 ? size : QFontInfo(font()).pixelSize();
}

int FitLabel::minimumPixelSize() const
{
    return qMax(1, static_cast<int>(std::ceil(basePixelSize() * m_minimumScaleFactor)));
}

QFont FitLabel::fontAt(int pixelSize) const
{
    QFont scaled = font();
    scaled.setPixelSize(pixelSize);
    return scaled;
}

int FitLabel::fittedPixelSize(int width) const
{
    int size = basePixelSize();
    while (size > minimumPixelSize() &&
           QFontMetrics(fontAt(size)).horizontalAdvance(m_text) > width) {
        --size;
    }
    return size;
}

QString FitLabel::displayedText(int width) const
{
    return QFontMetrics(fontAt(fittedPixelSize(width)))
        .elidedText(m_text, Qt::ElideRight, qMax(0, width));
}

// The hints include the contents margins, the widget's padding.
QSize FitLabel::sizeHint() const
{
    const QFontMetrics metrics(fontAt(basePixelSize()));
    return QSize(metrics.horizontalAdvance(m_text) + 1, metrics.height())
        .grownBy(contentsMargins());
}

QSize FitLabel::minimumSizeHint() const
{
    const QFontMetrics metrics(fontAt(basePixelSize()));
    const int text = metrics.horizontalAdvance(m_text) + 1;
    const int ellipsis = metrics.horizontalAdvance(QStringLiteral("…")) + 1;
    return QSize(qMin(text, ellipsis), metrics.height()).grownBy(contentsMargins());
}

void FitLabel::paintEvent(QPaintEvent*)
{
    const QRect area = contentsRect();
    QPainter painter(this);
    painter.setFont(fontAt(fittedPixelSize(area.width())));
    painter.setPen(color());
    painter.drawText(area, static_cast<int>(m_alignment) | Qt::TextSingleLine,
                     displayedText(area.width()));
}

void FitLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

}  // namespace vantrell
