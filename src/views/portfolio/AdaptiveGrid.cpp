#include "views/portfolio/AdaptiveGrid.h"

#include <QGridLayout>
#include <QResizeEvent>

#include <algorithm>

namespace vantrell {

AdaptiveGrid::AdaptiveGrid(int minimumColumnWidth, int spacing, QWidget* parent)
    : QWidget(parent),
      m_minimumWidth(minimumColumnWidth),
      m_spacing(spacing),
      m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(spacing);
}

int AdaptiveGrid::columnsFor(int width, int minimumColumnWidth, int spacing)
{
    return std::max(1, (width + spacing) / (minimumColumnWidth + spacing));
}

void AdaptiveGrid::setItems(std::vector<QWidget*> items)
{
    for (QWidget* item : m_items) {
        delete item;
    }
    m_items = std::move(items);
    place(columnsFor(width(), m_minimumWidth, m_spacing));
}

void AdaptiveGrid::place(int columns)
{
    for (QWidget* item : m_items) {
        m_grid->removeWidget(item);
    }
    for (int c = 0; c < std::max(columns, m_columns); ++c) {
        m_grid->setColumnStretch(c, c < columns ? 1 : 0);
    }
    m_columns = columns;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const int index = static_cast<int>(i);
        m_grid->addWidget(m_items[i], index / columns, index % columns, Qt::AlignTop);
        m_items[i]->show();
    }
}

void AdaptiveGrid::resizeEvent(QResizeEvent* event)
{
    const int columns = columnsFor(event->size().width(), m_minimumWidth, m_spacing);
    if (columns != m_columns) {
        place(columns);
    }
    QWidget::resizeEvent(event);
}

}  // namespace vantrell
