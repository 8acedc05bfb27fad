#include "views/portfolio/PositionRowsView.h"

#include "views/kit/VantrellPalette.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace vantrell {

PositionRowsView::PositionRowsView(PositionDataRow::Columns columns, int verticalPadding,
                                   bool dividerAfterLast, QWidget* parent)
    : QWidget(parent),
      m_columns(columns),
      m_padding(verticalPadding),
      m_dividerAfterLast(dividerAfterLast)
{
    setObjectName(QStringLiteral("positionRows"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(0);
}

int PositionRowsView::rowHeight() const
{
    return PositionDataRow::rowHeight + 2 * m_padding + 1;
}

void PositionRowsView::setRows(std::vector<PositionRowTexts> rows)
{
    if (rows == m_rows) {
        return;  // nothing to lay out or paint again
    }
    m_rows = std::move(rows);
    setFixedHeight(sizeHint().height());
    update();
}

QSize PositionRowsView::sizeHint() const
{
    return {480, static_cast<int>(m_rows.size()) * rowHeight()};
}

void PositionRowsView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const int count = static_cast<int>(m_rows.size());
    const int first = std::max(0, event->rect().top() / rowHeight());
    const int last = std::min(count - 1, event->rect().bottom() / rowHeight());
    for (int i = first; i <= last; ++i) {
        const QRect row(0, i * rowHeight(), width(), rowHeight());
        PositionDataRow::paintRow(painter, row.adjusted(0, m_padding, 0, -m_padding - 1),
                                  m_rows[static_cast<std::size_t>(i)], this, m_columns);
        if (m_dividerAfterLast || i + 1 < count) {
            painter.fillRect(QRect(0, row.bottom(), width(), 1), VantrellPalette::divider(this));
        }
    }
}

}  // namespace vantrell
