#pragma once

#include "models/Decimal.h"
#include "models/Exchange.h"
#include "providers/common/PriceMap.h"

#include <QString>
#include <QStringList>

namespace vantrell {

// How one exchange values a holding in US dollars. The first step that matches wins:
//   1. the asset is one of the exchange's stablecoins: one dollar per unit;
//   2. the map has the asset's USDT pair: quantity × that price (a price of 0 gives 0 and ends
//      the ladder here);
//   3. the map has the asset's BTC pair and the BTC/USDT bridge: quantity × both prices;
//   4. otherwise 0 (the asset is unpriced), also when only the BTC pair is there.
class ValuationLadder {
public:
    // The ladder of each exchange (a table, one row per exchange).
    static const ValuationLadder& of(Exchange exchange);

    Decimal usdValue(const QString& asset, const Decimal& quantity, const PriceMap& prices) const;

    const QStringList& stablecoins() const { return m_stablecoins; }
    // The symbols of the three look-ups for an asset (after the exchange's case rule).
    QString usdtPair(const QString& asset) const;
    QString btcPair(const QString& asset) const;
    const QString& bridgePair() const { return m_bridgePair; }

private:
    ValuationLadder(QStringList stablecoins, bool upperCasesAsset, QString separator);

    QStringList m_stablecoins;
    // Bitget upper-cases the asset code before the stablecoin test and the look-ups; the
    // others compare and look up the code as sent, so "usdt" is no stablecoin there.
    bool m_upperCasesAsset;
    QString m_separator;  // between base and quote in a pair symbol: "", "-" or "_"
    QString m_bridgePair;
};

}  // namespace vantrell
