#include "views/portfolio/PositionDataRow.h"

#include "views/drawing/ExchangeIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"

#include <QPainter>

namespace vantrell {

namespace {

constexpr int iconSize = 21;
constexpr int spacing = 10;

void drawText(QPainter& painter, const QRect& rect, const QFont& font, const QColor& color,
              const QString& text, Qt::Alignment alignment)
{
    painter.setFont(font);
    painter.setPen(color);
    const QString shown =
        QFontMetrics(font).elidedText(text, Qt::ElideRight, std::max(0, rect.width()));
    painter.drawText(rect, alignment | Qt::AlignVCenter, shown);
}

}  // namespace

PositionDataRow::PositionDataRow(PositionRowTexts texts, QWidget* parent)
    : QWidget(parent), m_texts(std::move(texts))
{
    setObjectName(QStringLiteral("positionDataRow"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(rowHeight);
}

QSize PositionDataRow::sizeHint() const
{
    return {480, rowHeight};
}

void PositionDataRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintRow(painter, rect(), m_texts, this);
}

void PositionDataRow::paintRow(QPainter& painter, const QRect& rect, const PositionRowTexts& texts,
                               const QWidget* widget, const Columns& columns)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const int midY = rect.center().y();
    if (columns.showsIcon) {
        ExchangeIcon::paint(painter, QRectF(rect.left(), midY - iconSize / 2.0, iconSize, iconSize),
                            texts.exchange);
    }
    const int columnsWidth = columns.quantity + columns.value + columns.pnl + 2 * spacing;
    const int textLeft = rect.left() + (columns.showsIcon ? iconSize + spacing : 0);
    const int textWidth = std::max(0, rect.right() - columnsWidth - spacing - textLeft);

    // The left column: symbol and side, price line, alias.
    const int lines = texts.alias ? 3 : 2;
    const int blockHeight = 15 + 2 + 13 + (lines == 3 ? 2 + 11 : 0);
    int y = midY - blockHeight / 2;
    const QFont symbolFont = ViewFonts::font(12, QFont::DemiBold);
    const int symbolWidth =
        std::min(textWidth - 40, QFontMetrics(symbolFont).horizontalAdvance(texts.symbol));
    drawText(painter, QRect(textLeft, y, symbolWidth, 15), symbolFont,
             VantrellPalette::primary(widget), texts.symbol, Qt::AlignLeft);
    drawText(painter, QRect(textLeft + symbolWidth + 7, y, 40, 15), ViewFonts::font(8, QFont::Bold),
             changeTintColor(texts.sideTint, widget), texts.side, Qt::AlignLeft);
    y += 17;
    drawText(painter, QRect(textLeft, y, textWidth, 13), ViewFonts::font(10),
             VantrellPalette::secondary(widget), texts.priceLine, Qt::AlignLeft);
    if (texts.alias) {
        y += 15;
        drawText(painter, QRect(textLeft, y, textWidth, 11), ViewFonts::font(9),
                 VantrellPalette::tertiary(widget), *texts.alias, Qt::AlignLeft);
    }

    // The fixed columns, trailing.
    const QFont number = ViewFonts::font(12);
    int right = rect.right() + 1;
    const QRect pnl(right - columns.pnl, rect.top(), columns.pnl, rect.height());
    drawText(painter, pnl, ViewFonts::font(12, QFont::Medium),
             changeTintColor(texts.pnlTint, widget), texts.pnl, Qt::AlignRight);
    right = pnl.left() - spacing;
    const QRect value(right - columns.value, rect.top(), columns.value, rect.height());
    drawText(painter, value, number, VantrellPalette::primary(widget), texts.value, Qt::AlignRight);
    right = value.left() - spacing;
    drawText(painter, QRect(right - columns.quantity, rect.top(), columns.quantity, rect.height()),
             number, VantrellPalette::primary(widget), texts.quantity, Qt::AlignRight);
    painter.restore();
}

}  // namespace vantrell
