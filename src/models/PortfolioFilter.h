#pragma once

#include "models/Exchange.h"
#include "models/PositionSide.h"

#include <QString>

#include <optional>

namespace vantrell {

// The filter state of the positions and balances lists; the default value is the empty filter.
struct PortfolioFilter {
    QString query;
    std::optional<Exchange> exchange;
    std::optional<PositionSide> side;
    bool hideSmall = false;
    std::optional<QString> accountID;

    friend bool operator==(const PortfolioFilter&, const PortfolioFilter&) = default;
};

}  // namespace vantrell
