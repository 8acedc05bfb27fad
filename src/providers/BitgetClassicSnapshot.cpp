#include "providers/BitgetClassicSnapshot.h"

#include "providers/BitgetProvider.h"
#include "providers/common/SnapshotBuilder.h"

#include <utility>

namespace vantrell {

namespace {

Decimal spotQuantity(const BitgetSpotAsset& asset)
{
    return Decimal::amountOrZero(asset.available) + Decimal::amountOrZero(asset.frozen) +
           Decimal::amountOrZero(asset.locked);
}

}  // namespace

ExchangeProviderSnapshot BitgetClassicSnapshot::assemble(const BitgetClassicReplies& replies)
{
    const PriceMap prices = BitgetProvider::priceMap(replies.tickers);
    SnapshotBuilder snapshot(Exchange::bitget);

    for (const BitgetSpotAsset& asset : replies.spotAssets) {
        const Decimal quantity = spotQuantity(asset);
        snapshot.addPricedBalance(AccountType::spot, asset.coin, quantity,
                                  BitgetProvider::usdValue(asset.coin, quantity, prices));
    }

    if (replies.futuresAccounts) {
        for (const BitgetFuturesAccount& account : *replies.futuresAccounts) {
            const Decimal value = Decimal::amountOrZero(account.usdtEquity);
            if (!value.isZero()) {
                snapshot.addReportedBalance(AccountType::futures, account.marginCoin,
                                            Decimal::amountOrZero(account.accountEquity), value);
            }
        }
    } else {
        snapshot.markMissing(AccountType::futures);
    }

    if (replies.positions) {
        for (const BitgetClassicPosition& row : *replies.positions) {
            if (std::optional<Position> position =
                    BitgetProvider::position(row.symbol, row.holdSide, row.total, row.openPriceAvg,
                                             row.markPrice, row.unrealizedPL)) {
                snapshot.addPosition(std::move(*position));
            }
        }
    } else {
        snapshot.markPositionsUnavailable();
    }

    snapshot.addBreakdown(AccountType::spot, snapshot.rowTotal(AccountType::spot));
    snapshot.addBreakdown(AccountType::futures, snapshot.rowTotal(AccountType::futures));
    return std::move(snapshot).build();
}

}  // namespace vantrell
