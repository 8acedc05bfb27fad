#pragma once

#include "models/ExchangeProviderSnapshot.h"
#include "providers/BitgetReplies.h"

namespace vantrell {

// The snapshot of a classic (non-unified) Bitget account, from its spot assets, the spot
// tickers and the grouped futures accounts and positions that BitgetProvider read.
//
// Spot coins are valued through Bitget's price map and ladder, and a coin without a price stays
// as an unpriced row. A futures account is valued by the exchange (its USDT equity) and kept
// for a non-zero value even when its quantity reads 0. Breakdowns: spot, then futures.
class BitgetClassicSnapshot {
public:
    static ExchangeProviderSnapshot assemble(const BitgetClassicReplies& replies);
};

}  // namespace vantrell
