#include "providers/common/PriceMap.h"

namespace vantrell {

bool PriceMap::add(const QString& symbol, const std::optional<QString>& priceText, KeepRule rule)
{
    if (rule == KeepRule::nonZeroOnly) {
        // Whether the row enters depends on its price: read it now.
        const Decimal price = Decimal::amountOrZero(priceText);
        return !price.isZero() && insert(symbol, price);
    }
    // One look-up: a new symbol gets an empty entry, which is then filled.
    const qsizetype before = m_prices.size();
    Entry& entry = m_prices[symbol];
    if (m_prices.size() == before) {
        return false;
    }
    entry.text = priceText;
    return true;
}

bool PriceMap::insert(const QString& symbol, const Decimal& price)
{
    if (m_prices.contains(symbol)) {
        return false;
    }
    m_prices.insert(symbol, Entry{std::nullopt, price});
    return true;
}

const Decimal* PriceMap::find(const QString& symbol) const
{
    const auto it = m_prices.constFind(symbol);
    if (it == m_prices.cend()) {
        return nullptr;
    }
    const Entry& entry = it.value();
    if (!entry.price) {
        entry.price = Decimal::amountOrZero(entry.text);
    }
    return &*entry.price;
}

}  // namespace vantrell
