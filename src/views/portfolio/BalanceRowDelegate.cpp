#include "views/portfolio/BalanceRowDelegate.h"

#include "views/drawing/ExchangeIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/BalanceTableModel.h"

#include <QPainter>

namespace vantrell {

BalanceRowDelegate::BalanceRowDelegate(const BalanceTableModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model)
{
}

void BalanceRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QWidget* widget = option.widget;
    const BalanceRowTexts& texts = m_model.texts(index.row());
    const QRect rect = option.rect.adjusted(11, 8, -11, -8);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    ExchangeIcon::paint(*painter, QRectF(rect.left(), rect.top(), 20, 20), texts.exchange);
    const auto draw = [&](const QRect& box, const QFont& font, const QColor& color,
                          const QString& text, Qt::Alignment alignment) {
        painter->setFont(font);
        painter->setPen(color);
        painter->drawText(box, alignment | Qt::AlignVCenter,
                          QFontMetrics(font).elidedText(text, Qt::ElideRight, box.width()));
    };
    const QFont regular = ViewFonts::font(11);
    int x = rect.left() + 20 + 9;
    draw(QRect(x, rect.top(), 64, rect.height()), ViewFonts::font(11, QFont::DemiBold),
         VantrellPalette::primary(widget), texts.asset, Qt::AlignLeft);
    x += 64 + 9;
    const int valueLeft = rect.right() + 1 - valueWidth;
    const int quantityLeft = valueLeft - 9 - quantityWidth;
    draw(QRect(x, rect.top(), std::max(0, quantityLeft - 9 - x), rect.height()), regular,
         VantrellPalette::secondary(widget), texts.account, Qt::AlignLeft);
    draw(QRect(quantityLeft, rect.top(), quantityWidth, rect.height()), regular,
         VantrellPalette::primary(widget), texts.quantity, Qt::AlignRight);
    draw(QRect(valueLeft, rect.top(), valueWidth, rect.height()), regular,
         VantrellPalette::primary(widget), texts.value, Qt::AlignRight);
    if (index.row() + 1 < m_model.rowCount()) {
        painter->fillRect(
            QRect(option.rect.left() + 40, option.rect.bottom(), option.rect.width() - 40, 1),
            VantrellPalette::divider(widget));
    }
    painter->restore();
}

QSize BalanceRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return {480, rowHeight};
}

}  // namespace vantrell
