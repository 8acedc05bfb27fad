#include "GeneratedExchangeReplies.h"

#include "GeneratedFigures.h"
#include "GeneratedHolding.h"
#include "GeneratedMarket.h"
#include "ReplyWriter.h"

#include <cstdint>
#include <string>

namespace vantrell::bench::generated {

namespace {

// Binance: a spot account of 45 balances, 4 funding balances and the futures equity.

constexpr int binanceSpotBalances = 45;
constexpr int binanceFundingBalances = 4;

QByteArray binanceSpotAccount()
{
    ReplyWriter w;
    w.beginObject()
        .integer("makerCommission", 10)
        .integer("takerCommission", 10)
        .integer("buyerCommission", 0)
        .integer("sellerCommission", 0)
        .beginObject("commissionRates")
        .text("maker", "0.00100000")
        .text("taker", "0.00100000")
        .text("buyer", "0.00000000")
        .text("seller", "0.00000000")
        .endObject()
        .boolean("canTrade", true)
        .boolean("canWithdraw", true)
        .boolean("canDeposit", true)
        .boolean("brokered", false)
        .boolean("requireSelfTradePrevention", false)
        .boolean("preventSor", false)
        .integer("updateTime", serverTime)
        .text("accountType", "SPOT")
        .beginArray("balances");
    for (int k = 0; k < binanceSpotBalances; ++k) {
        w.beginObject()
            .text("asset", pricedAsset(k, 1))
            .text("free", quantity(k))
            .text("locked", lockedQuantity(k))
            .endObject();
    }
    w.endArray().beginArray("permissions").text({}, "SPOT").endArray();
    w.integer("uid", 354'937'868).endObject();
    return w.body();
}

// Half the rows carry the exchange's BTC valuation; the others send "0" and go through the
// ladder.
QByteArray binanceFunding()
{
    ReplyWriter w;
    w.beginArray();
    for (int k = 0; k < binanceFundingBalances; ++k) {
        w.beginObject()
            .text("asset", assetCode(binanceSpotBalances + k))
            .text("free", quantity(k))
            .text("locked", "0")
            .text("freeze", "0")
            .text("withdrawing", "0")
            .text("btcValuation", k % 2 == 0 ? amount(12'345 + 1000 * k) : "0")
            .endObject();
    }
    w.endArray();
    return w.body();
}

QByteArray binanceFuturesAccount()
{
    ReplyWriter w;
    w.beginObject()
        .text("totalInitialMargin", "1203.00000000")
        .text("totalMaintMargin", "60.15000000")
        .text("totalWalletBalance", "2000.75000000")
        .text("totalUnrealizedProfit", "500.00000000")
        .text("totalMarginBalance", "2500.75000000")
        .text("totalPositionInitialMargin", "1203.00000000")
        .text("totalOpenOrderInitialMargin", "0.00000000")
        .text("totalCrossWalletBalance", "2000.75000000")
        .text("totalCrossUnPnl", "500.00000000")
        .text("availableBalance", "1297.75000000")
        .text("maxWithdrawAmount", "1297.75000000")
        .beginArray("assets")
        .beginObject()
        .text("asset", "USDT")
        .text("walletBalance", "2000.75000000")
        .text("unrealizedProfit", "500.00000000")
        .text("marginBalance", "2500.75000000")
        .endObject()
        .endArray()
        .beginArray("positions")
        .endArray()
        .endObject();
    return w.body();
}

void binancePosition(ReplyWriter& w, const Holding& p)
{
    w.beginObject()
        .text("symbol", joined(assetCode(p.asset()), "USDT"))
        .text("positionSide", p.isLong() ? "LONG" : "SHORT")
        .text("positionAmt", p.signedSize())
        .text("entryPrice", p.entry())
        .text("breakEvenPrice", p.entry())
        .text("markPrice", p.mark())
        .text("unRealizedProfit", p.pnl())
        .text("liquidationPrice", p.liquidation())
        .text("isolatedMargin", "0")
        .text("notional", p.notional())
        .text("marginAsset", "USDT")
        .text("isolatedWallet", "0")
        .text("initialMargin", p.margin())
        .text("maintMargin", "2.08000000")
        .integer("adl", static_cast<std::int64_t>(p.k % 5))
        .text("bidNotional", "0")
        .text("askNotional", "0")
        .integer("updateTime", serverTime)
        .endObject();
}

QByteArray binancePositions()
{
    ReplyWriter w;
    w.beginArray();
    for (int k = 0; k < positionsPerAccount; ++k) {
        binancePosition(w, holding(k));
    }
    w.endArray();
    return w.body();
}

QByteArray binancePrices()
{
    ReplyWriter w;
    w.beginArray();
    for (int i = 0; i < tickersPerExchange; ++i) {
        const Market m = market(i);
        w.beginObject().text("symbol", m.symbol("")).text("price", m.price()).endObject();
    }
    w.endArray();
    return w.body();
}

}  // namespace

RecordedReplies binanceReplies()
{
    return {{QStringLiteral("/api/v3/account"), binanceSpotAccount()},
            {QStringLiteral("/api/v3/ticker/price"), binancePrices()},
            {QStringLiteral("/fapi/v3/account"), binanceFuturesAccount()},
            {QStringLiteral("/fapi/v3/positionRisk"), binancePositions()},
            {QStringLiteral("/sapi/v1/asset/get-funding-asset"), binanceFunding()}};
}

}  // namespace vantrell::bench::generated
