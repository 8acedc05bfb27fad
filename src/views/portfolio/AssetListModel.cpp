#include "views/portfolio/AssetListModel.h"

#include "views/portfolio/BalanceOrdering.h"
#include "views/portfolio/ListCountText.h"
#include "views/portfolio/PortfolioFilterMatching.h"

namespace vantrell {

std::vector<AssetBalance> AssetListModel::filtered(const std::vector<AssetBalance>& balances,
                                                   const PortfolioFilter& filter)
{
    const QString searchText = PortfolioFilterMatching::searchText(filter);
    std::vector<AssetBalance> kept;
    kept.reserve(balances.size());
    for (const AssetBalance& balance : balances) {
        if (PortfolioFilterMatching::matches(balance, filter, searchText)) {
            kept.push_back(balance);
        }
    }
    return BalanceOrdering::byValueDescending(std::move(kept));
}

void AssetListModel::rebuild(const std::vector<AssetBalance>& balances,
                             const PortfolioFilter& filter)
{
    m_rows = filtered(balances, filter);
}

QString AssetListModel::countText(qsizetype total) const
{
    return ListCountText::text(static_cast<qsizetype>(m_rows.size()), total);
}

ListEmptyState AssetListModel::emptyState(qsizetype total)
{
    if (total > 0) {
        return {QStringLiteral("list.bullet.rectangle"), QStringLiteral("没有匹配的资产"),
                QStringLiteral("尝试其他关键词，或清除筛选条件。")};
    }
    return {QStringLiteral("list.bullet.rectangle"), QStringLiteral("暂无资产明细"),
            QStringLiteral("连接后显示账户的非零资产。")};
}

}  // namespace vantrell
