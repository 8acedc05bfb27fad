#include "views/popover/PopoverPositionList.h"

#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace vantrell {

namespace {

constexpr int badgePaddingX = 7;
constexpr int badgePaddingY = 2;

}  // namespace

PopoverPositionList::PopoverPositionList(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("popoverPositionList"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void PopoverPositionList::setRows(std::vector<PopoverPositionRow> rows)
{
    const bool resized = rows.size() != m_rows.size();
    m_rows = std::move(rows);
    setFixedHeight(sizeHint().height());
    if (resized) {
        updateGeometry();
    }
    update();
}

QSize PopoverPositionList::sizeHint() const
{
    return {300, static_cast<int>(m_rows.size()) * rowHeight};
}

QSize PopoverPositionList::minimumSizeHint() const
{
    return {200, sizeHint().height()};
}

void PopoverPositionList::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int first = std::max(0, event->rect().top() / rowHeight);
    const int last =
        std::min(static_cast<int>(m_rows.size()) - 1, event->rect().bottom() / rowHeight);
    const QColor divider = VantrellPalette::divider(this);
    for (int i = first; i <= last; ++i) {
        const QRect rect(0, i * rowHeight, width(), rowHeight);
        paintRow(painter, rect.adjusted(0, 2, 0, -2), m_rows[static_cast<std::size_t>(i)]);
        if (i + 1 < static_cast<int>(m_rows.size())) {
            painter.fillRect(QRect(0, rect.bottom(), width(), 1), divider);
        }
    }
}

void PopoverPositionList::paintRow(QPainter& painter, const QRect& rect,
                                   const PopoverPositionRow& row) const
{
    const QFont symbolFont = ViewFonts::font(12, QFont::DemiBold);
    const QFont badgeFont = ViewFonts::font(9, QFont::Bold);
    const QFont small = ViewFonts::font(10);
    const QFont smallMedium = ViewFonts::font(10, QFont::Medium);
    const QFont tiny = ViewFonts::font(9);
    const QColor secondary = VantrellPalette::secondary(this);
    const int top = rect.top();
    const int half = rect.width() / 2;

    // Left: symbol with its side badge, then the mark price.
    painter.setFont(symbolFont);
    painter.setPen(VantrellPalette::primary(this));
    const QFontMetrics symbolMetrics(symbolFont);
    const QString symbol = symbolMetrics.elidedText(row.symbol, Qt::ElideRight, half - 60);
    const QRect symbolRect(rect.left(), top + 2, symbolMetrics.horizontalAdvance(symbol), 16);
    painter.drawText(symbolRect, Qt::AlignLeft | Qt::AlignVCenter, symbol);
    const QColor sideColor =
        row.sideTint == ChangeTint::loss ? VantrellPalette::loss() : VantrellPalette::gain();
    const QFontMetrics badgeMetrics(badgeFont);
    const QRect badge(symbolRect.right() + 9, top + 3,
                      badgeMetrics.horizontalAdvance(row.side) + 2 * badgePaddingX,
                      badgeMetrics.height() + 2 * badgePaddingY - 2);
    QColor fill = sideColor;
    fill.setAlphaF(0.12);
    QPainterPath badgePath;
    badgePath.addRoundedRect(QRectF(badge), 4, 4);
    painter.fillPath(badgePath, fill);
    painter.setFont(badgeFont);
    painter.setPen(sideColor);
    painter.drawText(badge, Qt::AlignCenter, row.side);
    painter.setFont(small);
    painter.setPen(secondary);
    painter.drawText(QRect(rect.left(), top + 21, half, 13), Qt::AlignLeft | Qt::AlignVCenter,
                     row.markPrice);

    // Right: value, quantity and profit, trailing.
    const QRect right(rect.left() + half, top, rect.width() - half, rect.height());
    painter.setFont(smallMedium);
    painter.setPen(VantrellPalette::primary(this));
    painter.drawText(QRect(right.left(), top, right.width(), 12), Qt::AlignRight | Qt::AlignVCenter,
                     row.value);
    painter.setFont(tiny);
    painter.setPen(secondary);
    painter.drawText(QRect(right.left(), top + 12, right.width(), 11),
                     Qt::AlignRight | Qt::AlignVCenter, row.quantity);
    painter.setFont(smallMedium);
    painter.setPen(changeTintColor(row.pnlTint, this));
    painter.drawText(QRect(right.left(), top + 23, right.width(), 12),
                     Qt::AlignRight | Qt::AlignVCenter, row.pnl);
}

}  // namespace vantrell
