#include "views/portfolio/PositionListModel.h"

#include "settings/PositionSorting.h"
#include "views/portfolio/ListCountText.h"
#include "views/portfolio/PortfolioFilterMatching.h"

namespace vantrell {

std::vector<Position> PositionListModel::filtered(const std::vector<Position>& positions,
                                                  const PortfolioFilter& filter,
                                                  PositionSortMode mode)
{
    const QString searchText = PortfolioFilterMatching::searchText(filter);
    std::vector<Position> kept;
    kept.reserve(positions.size());
    for (const Position& position : positions) {
        if (PortfolioFilterMatching::matches(position, filter, searchText)) {
            kept.push_back(position);
        }
    }
    return PositionSorting::sorted(std::move(kept), mode);
}

void PositionListModel::rebuild(const std::vector<Position>& positions,
                                const PortfolioFilter& filter, PositionSortMode mode)
{
    m_rows = filtered(positions, filter, mode);
}

QString PositionListModel::countText(qsizetype total) const
{
    return ListCountText::text(static_cast<qsizetype>(m_rows.size()), total);
}

ListEmptyState PositionListModel::emptyState(qsizetype total)
{
    if (total > 0) {
        return {QStringLiteral("briefcase"), QStringLiteral("没有匹配的持仓"),
                QStringLiteral("尝试其他关键词，或清除筛选条件。")};
    }
    return {QStringLiteral("briefcase"), QStringLiteral("暂无持仓"),
            QStringLiteral("已连接账户当前没有合约仓位。")};
}

}  // namespace vantrell
