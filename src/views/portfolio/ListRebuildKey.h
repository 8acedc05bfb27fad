#pragma once

#include "models/Date.h"
#include "models/Decimal.h"

namespace vantrell {

class PortfolioStore;

// What of the store makes a filtered list page rebuild: a new refresh time or a new total.
// Pages keep the key of their last rebuild and compare it on every store change.
struct ListRebuildKey {
    Date lastUpdated;
    Decimal totalValue;

    static ListRebuildKey of(const PortfolioStore& store);

    friend bool operator==(const ListRebuildKey&, const ListRebuildKey&) = default;
};

}  // namespace vantrell
