#include "views/analytics/AnalyticsSelectionCallout.h"

#include "views/analytics/AnalyticsStyle.h"
#include "views/kit/ViewFonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace vantrell {

namespace {

constexpr qreal horizontalPadding = 8;
constexpr qreal verticalPadding = 6;
constexpr qreal lineSpacing = 2;
constexpr qreal cornerRadius = 7;
constexpr qreal anchorSpacing = 8;

QFont dateFont()
{
    return ViewFonts::font(10);
}

}  // namespace

AnalyticsSelectionCallout::AnalyticsSelectionCallout(QGraphicsItem* parent) : QGraphicsItem(parent)
{
    setZValue(20);
}

void AnalyticsSelectionCallout::setTexts(const QString& date, const QString& amount)
{
    prepareGeometryChange();
    m_date = date;
    m_amount = amount;
}

void AnalyticsSelectionCallout::setColors(const Colors& colors)
{
    m_colors = colors;
    update();
}

QSizeF AnalyticsSelectionCallout::plateSize() const
{
    const QFontMetricsF date(dateFont());
    const QFontMetricsF amount(AnalyticsStyle::semiboldCaptionFont());
    const qreal width =
        std::max(date.horizontalAdvance(m_date), amount.horizontalAdvance(m_amount));
    return {width + 2 * horizontalPadding,
            date.height() + lineSpacing + amount.height() + 2 * verticalPadding};
}

void AnalyticsSelectionCallout::place(const QPointF& anchor, const QRectF& bounds)
{
    const QSizeF size = plateSize();
    qreal x = anchor.x() - size.width() / 2;
    x = std::clamp(x, bounds.left(), std::max(bounds.left(), bounds.right() - size.width()));
    qreal y = anchor.y() - anchorSpacing - size.height();
    if (y < bounds.top()) {
        y = anchor.y() + anchorSpacing;
    }
    setPos(x, y);
}

QRectF AnalyticsSelectionCallout::boundingRect() const
{
    return QRectF(QPointF(0, 0), plateSize());
}

void AnalyticsSelectionCallout::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const QRectF plate = boundingRect().adjusted(0.25, 0.25, -0.25, -0.25);
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(plate, cornerRadius, cornerRadius);
    painter->fillPath(path, m_colors.plate);
    painter->strokePath(path, QPen(m_colors.edge, 0.5));

    const QFontMetricsF dateMetrics(dateFont());
    const QFont amountFont = AnalyticsStyle::semiboldCaptionFont();
    QPointF origin(horizontalPadding, verticalPadding + dateMetrics.ascent());
    painter->setFont(dateFont());
    painter->setPen(m_colors.date);
    painter->drawText(origin, m_date);
    origin.ry() += dateMetrics.descent() + lineSpacing + QFontMetricsF(amountFont).ascent();
    painter->setFont(amountFont);
    painter->setPen(m_colors.amount);
    painter->drawText(origin, m_amount);
}

}  // namespace vantrell
