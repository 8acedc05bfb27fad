#include "views/portfolio/ListRebuildKey.h"

#include "store/PortfolioStore.h"

namespace vantrell {

ListRebuildKey ListRebuildKey::of(const PortfolioStore& store)
{
    return {store.lastUpdated(), store.snapshot().totalValue};
}

}  // namespace vantrell
