#include "providers/common/PriceMap.h"

namespace vantrell {

bool PriceMap::add(const QString& symbol, const std::optional<QString>& priceText, KeepRule rule)
{
    const Decimal price = Decimal::amountOrZero(priceText);
    if (rule == KeepRule::nonZeroOnly && price.isZero()) {
        return false;
    }
    return insert(symbol, price);
}

bool PriceMap::insert(const QString& symbol, const Decimal& price)
{
    if (m_prices.contains(symbol)) {
        return false;
    }
    m_prices.insert(symbol, price);
    return true;
}

const Decimal* PriceMap::find(const QString& symbol) const
{
    const auto it = m_prices.constFind(symbol);
    return it == m_prices.cend() ? nullptr : &it.value();
}

}  // namespace vantrell
