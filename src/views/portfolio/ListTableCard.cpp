#include "views/portfolio/ListTableCard.h"

#include "views/kit/ViewFonts.h"
#include "views/portfolio/DividerLine.h"
#include "views/portfolio/PageLabels.h"

#include <QHBoxLayout>
#include <QListView>
#include <QVBoxLayout>

namespace vantrell {

ListTableCard::ListTableCard(const std::vector<Column>& columns, int columnSpacing, QWidget* parent)
    : CardFrame(10, parent), m_list(new QListView)
{
    auto* header = new QHBoxLayout;
    header->setContentsMargins(11, 7, 11, 7);
    header->setSpacing(columnSpacing);
    for (const Column& column : columns) {
        FitLabel* title = PageLabels::make(column.title, ViewFonts::font(10, QFont::Medium),
                                           PageLabels::secondary());
        if (column.width == 0) {
            header->addWidget(title);
            header->addStretch(1);
        } else {
            title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            title->setFixedWidth(column.width);
            header->addWidget(title);
        }
    }
    m_list->setObjectName(QStringLiteral("listTable"));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addWidget(new DividerLine);
    layout->addWidget(m_list, 1);
}

}  // namespace vantrell
