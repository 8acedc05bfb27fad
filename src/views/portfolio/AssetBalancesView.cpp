#include "views/portfolio/AssetBalancesView.h"

#include "store/PortfolioStore.h"
#include "views/portfolio/BalanceRowDelegate.h"
#include "views/portfolio/BalanceTableModel.h"
#include "views/portfolio/ListTableCard.h"

#include <QListView>

namespace vantrell {

AssetBalancesView::AssetBalancesView(PortfolioStore& store, AppSettings& settings,
                                     LocalCredentialStore credentials, QWidget* parent)
    : ListPageFrame(store, settings, std::move(credentials), false, QStringLiteral("assets"),
                    QStringLiteral("资产明细"), parent),
      m_model(new BalanceTableModel(this))
{
    auto* table = new ListTableCard({{QStringLiteral("资产 / 账户"), 0},
                                     {QStringLiteral("数量"), BalanceRowDelegate::quantityWidth},
                                     {QStringLiteral("价值"), BalanceRowDelegate::valueWidth}},
                                    6);
    m_table = table->list();
    m_table->setModel(m_model);
    m_table->setItemDelegate(new BalanceRowDelegate(*m_model, m_table));
    setTable(table);
}

void AssetBalancesView::rebuildList()
{
    m_list.rebuild(store().snapshot().balances, filter());
}

ListPageFrame::Shown AssetBalancesView::showList(const AmountTexts& amounts)
{
    const qsizetype total = static_cast<qsizetype>(store().snapshot().balances.size());
    m_model->setRows(m_list.rows(), amounts);
    Shown shown{m_list.countText(total), std::nullopt};
    if (m_list.rows().empty()) {
        shown.emptyState = AssetListModel::emptyState(total);
    }
    return shown;
}

void AssetBalancesView::setAmounts(const AmountTexts& amounts)
{
    m_model->setAmounts(amounts);
}

}  // namespace vantrell
