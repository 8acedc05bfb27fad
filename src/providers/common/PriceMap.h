#pragma once

#include "models/Decimal.h"

#include <QHash>
#include <QString>

#include <optional>

namespace vantrell {

// Last prices by ticker symbol, exactly as the exchange writes the symbol. Built once per
// snapshot from the public tickers reply; every valuation is a look-up in it.
//
// A reply that repeats a symbol keeps the first row: the map must not fail on it, and the
// first row is as good a choice as any and the same for every exchange.
//
// A price is read from its text the first time it is looked up: a list of thousands of symbols
// serves a few dozen look-ups.
class PriceMap {
public:
    // Which ticker rows enter the map.
    enum class KeepRule {
        everyRow,     // Binance, OKX, Bybit, Gate: a missing or unparsable price enters as 0
        nonZeroOnly,  // Bitget: only rows whose price is present, parses and is not 0
    };

    // Adds one ticker row by the amount rule; returns whether it entered the map.
    bool add(const QString& symbol, const std::optional<QString>& priceText,
             KeepRule rule = KeepRule::everyRow);
    // Adds a price unless the symbol is already there; returns whether it entered the map.
    bool insert(const QString& symbol, const Decimal& price);

    // The price of `symbol`, or nullptr when the map has no entry for it. An entry with price 0
    // is an entry: it stops the valuation ladder at its step.
    const Decimal* find(const QString& symbol) const;
    bool contains(const QString& symbol) const { return m_prices.contains(symbol); }
    qsizetype size() const { return m_prices.size(); }

    void reserve(qsizetype count) { m_prices.reserve(count); }

private:
    struct Entry {
        std::optional<QString> text;
        mutable std::optional<Decimal> price;  // read from `text` on first look-up
    };

    QHash<QString, Entry> m_prices;
};

}  // namespace vantrell
