#include "views/portfolio/PositionRowDelegate.h"

#include "views/kit/VantrellPalette.h"
#include "views/portfolio/PositionDataRow.h"
#include "views/portfolio/PositionTableModel.h"

#include <QPainter>

namespace vantrell {

PositionRowDelegate::PositionRowDelegate(const PositionTableModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model)
{
}

void PositionRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const QWidget* widget = option.widget;
    const QRect inner = option.rect.adjusted(paddingX, paddingY, -paddingX, -paddingY);
    PositionDataRow::paintRow(*painter, inner, m_model.texts(index.row()), widget);
    if (index.row() + 1 < m_model.rowCount()) {
        painter->fillRect(
            QRect(option.rect.left() + 40, option.rect.bottom(), option.rect.width() - 40, 1),
            VantrellPalette::divider(widget));
    }
}

QSize PositionRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return {480, PositionDataRow::rowHeight + 2 * paddingY};
}

}  // namespace vantrell
