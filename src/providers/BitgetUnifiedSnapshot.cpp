#include "providers/BitgetUnifiedSnapshot.h"

#include "providers/BitgetProvider.h"
#include "providers/common/SnapshotBuilder.h"

#include <utility>

namespace vantrell {

ExchangeProviderSnapshot BitgetUnifiedSnapshot::assemble(const BitgetUnifiedReplies& replies)
{
    const PriceMap prices =
        replies.tickers ? BitgetProvider::priceMap(*replies.tickers) : PriceMap();
    SnapshotBuilder snapshot(Exchange::bitget);

    // The exchange values the unified coins itself; a coin it values at 0 is left out.
    for (const BitgetUTAAsset& asset : replies.assets.assets) {
        const Decimal quantity = Decimal::amountOrZero(asset.equity);
        const Decimal value = Decimal::amountOrZero(asset.usdValue);
        if (!quantity.isZero() && !value.isZero()) {
            snapshot.addReportedBalance(AccountType::trading, asset.coin, quantity, value);
        }
    }
    if (replies.funding) {
        for (const BitgetFundingAsset& asset : *replies.funding) {
            const Decimal quantity = Decimal::amountOrZero(asset.balance);
            snapshot.addPricedBalance(AccountType::funding, asset.coin, quantity,
                                      BitgetProvider::usdValue(asset.coin, quantity, prices));
        }
    } else {
        snapshot.markMissing(AccountType::funding);
    }

    if (replies.positions) {
        for (const BitgetUTAPosition& row : *replies.positions) {
            if (std::optional<Position> mapped =
                    BitgetProvider::position(row.symbol, row.posSide, row.sizeText(), row.avgPrice,
                                             row.markPrice, row.unrealisedPnl)) {
                snapshot.addPosition(std::move(*mapped));
            }
        }
    } else {
        snapshot.markPositionsUnavailable();
    }

    // The trading value is the account's equity as the exchange reports it, not a row sum.
    snapshot.addBreakdown(AccountType::trading,
                          Decimal::amountOrZero(replies.assets.accountEquity));
    snapshot.addBreakdown(AccountType::funding, snapshot.rowTotal(AccountType::funding));
    return std::move(snapshot).build();
}

}  // namespace vantrell
