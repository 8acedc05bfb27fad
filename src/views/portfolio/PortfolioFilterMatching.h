#pragma once

#include "models/AssetBalance.h"
#include "models/PortfolioFilter.h"
#include "models/Position.h"

#include <QString>

namespace vantrell {

// How a filter keeps or drops the rows of the positions and the asset lists. The query is
// passed trimmed (searchText()) so a rebuild trims it once, not once per row.
class PortfolioFilterMatching {
public:
    // The query without leading and trailing white space and newlines.
    static QString searchText(const PortfolioFilter& filter);

    // Exchange, account, side, then the query over symbol, exchange name and alias. The
    // hide-small switch plays no part for positions.
    static bool matches(const Position& position, const PortfolioFilter& filter,
                        const QString& searchText);
    // Exchange, account, the hide-small rule, then the query over asset, exchange name and
    // alias. The side plays no part for balances.
    static bool matches(const AssetBalance& balance, const PortfolioFilter& filter,
                        const QString& searchText);

    // Worth less than 1 USD either way, unless it is an unpriced holding (value exactly 0 with
    // a quantity), which stays visible.
    static bool isSmall(const AssetBalance& balance);

private:
    static bool accountMatches(const std::optional<QString>& accountID,
                               const PortfolioFilter& filter);
    static bool textMatches(const QString& field, Exchange exchange,
                            const std::optional<QString>& alias, const QString& searchText);
};

}  // namespace vantrell
