#pragma once

#include "models/PortfolioFilter.h"
#include "models/Position.h"
#include "settings/PositionSortMode.h"
#include "views/portfolio/ListEmptyState.h"

#include <QString>

#include <vector>

namespace vantrell {

// The cached rows of the positions page: the snapshot's positions that pass the filter, in the
// chosen sort order. Rebuilt only when the page asks (on its triggers); the table draws rows()
// as they stand.
class PositionListModel {
public:
    // The positions that pass `filter`, in snapshot order, then ordered by `mode` (stable).
    static std::vector<Position> filtered(const std::vector<Position>& positions,
                                          const PortfolioFilter& filter, PositionSortMode mode);

    void rebuild(const std::vector<Position>& positions, const PortfolioFilter& filter,
                 PositionSortMode mode);
    // Empty until the first rebuild.
    const std::vector<Position>& rows() const { return m_rows; }

    // `total` is the snapshot's current position count.
    QString countText(qsizetype total) const;
    // The placeholder while rows() is empty: nothing matched, or no positions at all.
    static ListEmptyState emptyState(qsizetype total);

private:
    std::vector<Position> m_rows;
};

}  // namespace vantrell
