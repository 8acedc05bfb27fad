#include "GeneratedExchangeReplies.h"

#include "GeneratedFigures.h"
#include "GeneratedHolding.h"
#include "GeneratedMarket.h"
#include "ReplyWriter.h"

#include <string>

namespace vantrell::bench::generated {

namespace {

// OKX: 30 trading rows the exchange values itself and 20 funding rows valued from the tickers,
// every reply in a {"code","msg","data":[...]} envelope.

constexpr int okxTradingBalances = 30;

template <typename Rows>
QByteArray okxEnvelope(const Rows& writeRows)
{
    ReplyWriter w;
    w.beginObject().text("code", "0").text("msg", "").beginArray("data");
    writeRows(w);
    w.endArray().endObject();
    return w.body();
}

void okxDetail(ReplyWriter& w, int k)
{
    const std::string cash = quantity(k);
    w.beginObject()
        .text("availBal", cash)
        .text("availEq", cash)
        .text("cashBal", cash)
        .text("ccy", pricedAsset(k, 1))
        .text("crossLiab", "")
        .text("disEq", reportedValue(k))
        .text("eq", cash)
        .text("eqUsd", reportedValue(k))
        .text("frozenBal", "0")
        .text("interest", "")
        .text("isoEq", "0")
        .text("liab", "")
        .text("maxLoan", "")
        .text("mgnRatio", "")
        .text("notionalLever", "0")
        .text("ordFrozen", "0")
        .text("twap", "0")
        .text("uTime", serverTimeText)
        .text("upl", "0")
        .text("uplLiab", "")
        .endObject();
}

QByteArray okxTradingBalance()
{
    return okxEnvelope([](ReplyWriter& w) {
        w.beginObject().text("adjEq", "250001.25").text("borrowFroz", "").beginArray("details");
        for (int k = 0; k < okxTradingBalances; ++k) {
            okxDetail(w, k);
        }
        w.endArray()
            .text("imr", "0")
            .text("isoEq", "0")
            .text("mgnRatio", "")
            .text("mmr", "0")
            .text("notionalUsd", "0")
            .text("ordFroz", "0")
            .text("totalEq", "250001.25")
            .text("uTime", serverTimeText)
            .text("upl", "0.5")
            .endObject();
    });
}

QByteArray okxFunding()
{
    return okxEnvelope([](ReplyWriter& w) {
        for (int k = 0; k < balancesPerAccount - okxTradingBalances; ++k) {
            w.beginObject()
                .text("availBal", quantity(k))
                .text("bal", quantity(k))
                .text("ccy", pricedAsset(k, okxTradingBalances))
                .text("frozenBal", "0")
                .endObject();
        }
    });
}

void okxPosition(ReplyWriter& w, const Holding& p)
{
    w.beginObject()
        .text("adl", "1")
        .text("availPos", p.size())
        .text("avgPx", p.entry())
        .text("cTime", serverTimeText)
        .text("ccy", "USDT")
        .text("imr", p.margin())
        .text("instId", joined(assetCode(p.asset()), "-USDT-SWAP"))
        .text("instType", "SWAP")
        .text("last", p.mark())
        .text("lever", "10")
        .text("liqPx", p.liquidation())
        .text("margin", "")
        .text("markPx", p.mark())
        .text("mgnMode", "cross")
        .text("mgnRatio", "")
        .text("mmr", "4.16")
        .text("notionalUsd", p.notional())
        .text("pos", p.size())
        .text("posCcy", "")
        .text("posId", std::to_string(p.k + 1))
        .text("posSide", p.isLong() ? "long" : "short")
        .text("uTime", serverTimeText)
        .text("upl", p.pnl())
        .text("uplRatio", p.pnlRatio())
        .endObject();
}

QByteArray okxPositions()
{
    return okxEnvelope([](ReplyWriter& w) {
        for (int k = 0; k < positionsPerAccount; ++k) {
            okxPosition(w, holding(k));
        }
    });
}

void okxTicker(ReplyWriter& w, const Market& m)
{
    w.beginObject()
        .text("instType", "SPOT")
        .text("instId", m.symbol("-"))
        .text("last", m.price())
        .text("lastSz", m.bookSize())
        .text("askPx", m.ask())
        .text("askSz", m.bookSize())
        .text("bidPx", m.bid())
        .text("bidSz", m.bookSize())
        .text("open24h", m.open())
        .text("high24h", m.high())
        .text("low24h", m.low())
        .text("volCcy24h", m.quoteVolume())
        .text("vol24h", m.baseVolume())
        .text("ts", serverTimeText)
        .text("sodUtc0", m.open())
        .text("sodUtc8", m.open())
        .endObject();
}

QByteArray okxTickers()
{
    return okxEnvelope([](ReplyWriter& w) {
        for (int i = 0; i < tickersPerExchange; ++i) {
            okxTicker(w, market(i));
        }
    });
}

}  // namespace

RecordedReplies okxReplies()
{
    return {{QStringLiteral("/api/v5/account/balance"), okxTradingBalance()},
            {QStringLiteral("/api/v5/asset/balances"), okxFunding()},
            {QStringLiteral("/api/v5/account/positions"), okxPositions()},
            {QStringLiteral("/api/v5/market/tickers"), okxTickers()}};
}

}  // namespace vantrell::bench::generated
