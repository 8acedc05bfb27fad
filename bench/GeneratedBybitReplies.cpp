#include "GeneratedExchangeReplies.h"

#include "GeneratedFigures.h"
#include "GeneratedHolding.h"
#include "GeneratedMarket.h"
#include "ReplyWriter.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrell::bench::generated {

namespace {

// Bybit: 30 unified-account coins the exchange values itself, 20 funding coins valued from the
// tickers, positions settled in USDT and in USDC; every reply in a "retCode" envelope.

constexpr int bybitWalletCoins = 30;
constexpr int bybitUSDTPositions = 10;

template <typename Result>
QByteArray bybitEnvelope(const Result& writeResult)
{
    ReplyWriter w;
    w.beginObject().integer("retCode", 0).text("retMsg", "OK").beginObject("result");
    writeResult(w);
    w.endObject().beginObject("retExtInfo").endObject().integer("time", serverTime).endObject();
    return w.body();
}

void bybitCoin(ReplyWriter& w, int k)
{
    w.beginObject()
        .text("availableToBorrow", "")
        .text("bonus", "0")
        .text("accruedInterest", "0")
        .text("availableToWithdraw", quantity(k))
        .text("totalOrderIM", "0")
        .text("equity", quantity(k))
        .text("totalPositionMM", "0")
        .text("usdValue", reportedValue(k))
        .text("unrealisedPnl", "0")
        .boolean("collateralSwitch", true)
        .text("spotHedgingQty", "0")
        .text("borrowAmount", "0")
        .text("totalPositionIM", "0")
        .text("walletBalance", quantity(k))
        .text("cumRealisedPnl", "0")
        .text("locked", "0")
        .boolean("marginCollateral", true)
        .text("coin", pricedAsset(k, 1))
        .endObject();
}

QByteArray bybitWallet()
{
    return bybitEnvelope([](ReplyWriter& w) {
        w.beginArray("list")
            .beginObject()
            .text("totalEquity", "250000.5")
            .text("accountIMRate", "0.0123")
            .text("totalMarginBalance", "249990.1")
            .text("totalInitialMargin", "3000.2")
            .text("accountType", "UNIFIED")
            .text("totalAvailableBalance", "246989.9")
            .text("accountMMRate", "0.004")
            .text("totalPerpUPL", "290")
            .text("totalWalletBalance", "247100.5")
            .text("accountLTV", "0")
            .text("totalMaintenanceMargin", "1000.1")
            .beginArray("coin");
        for (int k = 0; k < bybitWalletCoins; ++k) {
            bybitCoin(w, k);
        }
        w.endArray().endObject().endArray();
    });
}

QByteArray bybitFunding()
{
    return bybitEnvelope([](ReplyWriter& w) {
        w.text("memberId", "533285").text("accountType", "FUND").beginArray("balance");
        for (int k = 0; k < balancesPerAccount - bybitWalletCoins; ++k) {
            w.beginObject()
                .text("coin", pricedAsset(k, bybitWalletCoins))
                .text("transferBalance", quantity(k))
                .text("walletBalance", quantity(k))
                .text("bonus", "")
                .endObject();
        }
        w.endArray();
    });
}

void bybitPosition(ReplyWriter& w, const Holding& p, std::string_view quote)
{
    w.beginObject()
        .integer("positionIdx", 0)
        .integer("riskId", 1)
        .text("riskLimitValue", "2000000")
        .text("symbol", joined(assetCode(p.asset()), quote))
        .text("side", p.isLong() ? "Buy" : "Sell")
        .text("size", p.size())
        .text("avgPrice", p.entry())
        .text("positionValue", p.notional())
        .integer("tradeMode", 0)
        .text("positionStatus", "Normal")
        .integer("autoAddMargin", 0)
        .integer("adlRankIndicator", 2)
        .text("leverage", "10")
        .text("positionBalance", p.margin())
        .text("markPrice", p.mark())
        .text("liqPrice", p.liquidation())
        .text("bustPrice", "")
        .text("positionMM", "1.5")
        .text("positionIM", p.margin())
        .text("tpslMode", "Full")
        .text("takeProfit", "0")
        .text("stopLoss", "0")
        .text("trailingStop", "0")
        .text("unrealisedPnl", p.pnl())
        .text("curRealisedPnl", "-1.5")
        .text("cumRealisedPnl", "-20.3")
        .integer("seq", 8'172'241'024 + static_cast<std::int64_t>(p.k))
        .boolean("isReduceOnly", false)
        .text("createdTime", "1699990000000")
        .text("updatedTime", "1699999990000")
        .endObject();
}

// Positions `first` to `end` - 1, their symbols ending in `quote`.
QByteArray bybitPositions(int first, int end, std::string_view quote)
{
    return bybitEnvelope([first, end, quote](ReplyWriter& w) {
        w.text("category", "linear").text("nextPageCursor", "").beginArray("list");
        for (int k = first; k < end; ++k) {
            bybitPosition(w, holding(k), quote);
        }
        w.endArray();
    });
}

void bybitTicker(ReplyWriter& w, const Market& m)
{
    w.beginObject()
        .text("symbol", m.symbol(""))
        .text("bid1Price", m.bid())
        .text("bid1Size", m.bookSize())
        .text("ask1Price", m.ask())
        .text("ask1Size", m.bookSize())
        .text("lastPrice", m.price())
        .text("prevPrice24h", m.open())
        .text("price24hPcnt", m.change())
        .text("highPrice24h", m.high())
        .text("lowPrice24h", m.low())
        .text("turnover24h", m.quoteVolume())
        .text("volume24h", m.baseVolume());
    // Only the USDT markets carry an index price.
    if (m.quote == "USDT") {
        w.text("usdIndexPrice", m.price());
    }
    w.endObject();
}

QByteArray bybitTickers()
{
    return bybitEnvelope([](ReplyWriter& w) {
        w.text("category", "spot").beginArray("list");
        for (int i = 0; i < tickersPerExchange; ++i) {
            bybitTicker(w, market(i));
        }
        w.endArray();
    });
}

}  // namespace

RecordedReplies bybitReplies()
{
    return {{QStringLiteral("/v5/account/wallet-balance"), bybitWallet()},
            {QStringLiteral("/v5/asset/transfer/query-account-coins-balance"), bybitFunding()},
            {QStringLiteral("/v5/position/list?category=linear&limit=200&settleCoin=USDT"),
             bybitPositions(0, bybitUSDTPositions, "USDT")},
            {QStringLiteral("/v5/position/list?category=linear&limit=200&settleCoin=USDC"),
             bybitPositions(bybitUSDTPositions, positionsPerAccount, "PERP")},
            {QStringLiteral("/v5/market/tickers"), bybitTickers()}};
}

}  // namespace vantrell::bench::generated
