#include "views/portfolio/PositionsListView.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "views/portfolio/ListTableCard.h"
#include "views/portfolio/PositionDataRow.h"
#include "views/portfolio/PositionRowDelegate.h"
#include "views/portfolio/PositionSortMenu.h"
#include "views/portfolio/PositionTableModel.h"

#include <QHBoxLayout>
#include <QListView>

namespace vantrell {

PositionsListView::PositionsListView(PortfolioStore& store, AppSettings& settings,
                                     LocalCredentialStore credentials, QWidget* parent)
    : ListPageFrame(store, settings, std::move(credentials), true, QStringLiteral("positions"),
                    QStringLiteral("合约持仓"), parent),
      m_model(new PositionTableModel(this))
{
    header()->addWidget(new PositionSortMenu(settings));

    auto* table = new ListTableCard({{QStringLiteral("交易对 / 价格"), 0},
                                     {QStringLiteral("数量"), PositionDataRow::quantityWidth},
                                     {QStringLiteral("价值"), PositionDataRow::valueWidth},
                                     {QStringLiteral("未实现盈亏"), PositionDataRow::pnlWidth}},
                                    10);
    m_table = table->list();
    m_table->setModel(m_model);
    m_table->setItemDelegate(new PositionRowDelegate(*m_model, m_table));
    setTable(table);

    connect(&settings, &AppSettings::positionSortModeChanged, this, &PositionsListView::rebuild);
}

void PositionsListView::rebuildList()
{
    m_list.rebuild(store().snapshot().positions, filter(), settings().positionSortMode());
}

ListPageFrame::Shown PositionsListView::showList(const AmountTexts& amounts)
{
    const qsizetype total = static_cast<qsizetype>(store().snapshot().positions.size());
    m_model->setRows(m_list.rows(), amounts);
    Shown shown{m_list.countText(total), std::nullopt};
    if (m_list.rows().empty()) {
        shown.emptyState = PositionListModel::emptyState(total);
    }
    return shown;
}

void PositionsListView::setAmounts(const AmountTexts& amounts)
{
    m_model->setAmounts(amounts);
}

}  // namespace vantrell
