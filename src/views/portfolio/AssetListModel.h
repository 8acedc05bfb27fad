#pragma once

#include "models/AssetBalance.h"
#include "models/PortfolioFilter.h"
#include "views/portfolio/ListEmptyState.h"

#include <QString>

#include <vector>

namespace vantrell {

// The cached rows of the asset balances page: the snapshot's balances that pass the filter,
// largest US-dollar value first. Rebuilt only when the page asks (on its triggers).
class AssetListModel {
public:
    // The balances that pass `filter`, ordered by value, largest first (stable).
    static std::vector<AssetBalance> filtered(const std::vector<AssetBalance>& balances,
                                              const PortfolioFilter& filter);

    void rebuild(const std::vector<AssetBalance>& balances, const PortfolioFilter& filter);
    // Empty until the first rebuild.
    const std::vector<AssetBalance>& rows() const { return m_rows; }

    // `total` is the snapshot's current balance count.
    QString countText(qsizetype total) const;
    static ListEmptyState emptyState(qsizetype total);

private:
    std::vector<AssetBalance> m_rows;
};

}  // namespace vantrell
