#pragma once

#include "models/ExchangeProviderSnapshot.h"
#include "providers/BitgetReplies.h"

namespace vantrell {

// The snapshot of a unified Bitget account, from the replies BitgetProvider read.
//
// Trading coins carry the exchange's own dollar value (a coin it values at 0 is left out), and
// the trading breakdown is the account equity the exchange reports, not a sum of rows. Funding
// coins are valued through Bitget's price map and ladder and stay as unpriced rows when no price
// is found. Breakdowns: trading, then funding, both always present.
class BitgetUnifiedSnapshot {
public:
    static ExchangeProviderSnapshot assemble(const BitgetUnifiedReplies& replies);
};

}  // namespace vantrell
