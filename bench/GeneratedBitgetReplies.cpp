#include "GeneratedExchangeReplies.h"

#include "GeneratedFigures.h"
#include "GeneratedHolding.h"
#include "GeneratedMarket.h"
#include "ReplyWriter.h"

#include <string>
#include <string_view>

namespace vantrell::bench::generated {

namespace {

// Bitget's unified account: 30 coins the exchange values itself, 20 funding coins valued from
// the tickers, positions of the three futures categories; every reply in a "code" envelope.

constexpr int bitgetAssets = 30;

template <typename Data>
QByteArray bitgetEnvelope(const Data& writeData)
{
    ReplyWriter w;
    w.beginObject().text("code", "00000").text("msg", "success");
    w.integer("requestTime", serverTime + 123);
    writeData(w);
    w.endObject();
    return w.body();
}

QByteArray bitgetUnifiedAssets()
{
    return bitgetEnvelope([](ReplyWriter& w) {
        w.beginObject("data")
            .text("accountEquity", "120000.75")
            .text("usdtEquity", "120000.75")
            .text("btcEquity", "2.000012")
            .text("unrealisedPnl", "520")
            .text("usdtUnrealisedPnl", "520")
            .text("btcUnrealizedPnl", "0.0086")
            .text("effEquity", "118000")
            .text("mmr", "12.5")
            .text("imr", "150")
            .text("mgnRatio", "0.001")
            .text("positionMgnRatio", "0.01")
            .beginArray("assets");
        for (int k = 0; k < bitgetAssets; ++k) {
            w.beginObject()
                .text("coin", pricedAsset(k, 1))
                .text("equity", quantity(k))
                .text("usdValue", reportedValue(k))
                .text("balance", quantity(k))
                .text("available", quantity(k))
                .text("debt", "0")
                .text("locked", "0")
                .endObject();
        }
        w.endArray().endObject();
    });
}

QByteArray bitgetFunding()
{
    return bitgetEnvelope([](ReplyWriter& w) {
        w.beginArray("data");
        for (int k = 0; k < balancesPerAccount - bitgetAssets; ++k) {
            w.beginObject()
                .text("coin", pricedAsset(k, bitgetAssets))
                .text("available", quantity(k))
                .text("frozen", "0")
                .text("balance", quantity(k))
                .endObject();
        }
        w.endArray();
    });
}

// One futures category of positions: its name, the quote of its symbols, its margin coin
// (empty: the position's own asset) and the positions it holds.
struct BitgetCategory {
    std::string_view name;
    std::string_view quote;
    std::string_view marginCoin;
    int first;
    int end;
};

constexpr BitgetCategory bitgetCategories[] = {{"USDT-FUTURES", "USDT", "USDT", 0, 10},
                                               {"USDC-FUTURES", "PERP", "USDC", 10, 15},
                                               {"COIN-FUTURES", "USD", "", 15, 20}};

void bitgetPosition(ReplyWriter& w, const Holding& p, const BitgetCategory& category)
{
    const std::string asset = assetCode(p.asset());
    w.beginObject()
        .text("category", category.name)
        .text("symbol", joined(asset, category.quote))
        .text("marginCoin", category.marginCoin.empty() ? asset : std::string(category.marginCoin))
        .text("holdMode", "hedge_mode")
        .text("posSide", p.isLong() ? "long" : "short")
        .text("marginMode", "crossed")
        .text("positionBalance", p.margin())
        .text("available", p.size())
        .text("frozen", "0")
        .text("total", p.size())
        .text("leverage", "10")
        .text("curRealisedPnl", "0")
        .text("avgPrice", p.entry())
        .text("positionStatus", "normal")
        .text("unrealisedPnl", p.pnl())
        .text("liquidationPrice", p.liquidation())
        .text("mmr", "0.004")
        .text("profitRate", p.pnlRatio())
        .text("markPrice", p.mark())
        .text("breakEvenPrice", p.entry())
        .text("totalFunding", "0")
        .text("openFeeTotal", "-0.3")
        .text("closeFeeTotal", "0")
        .text("createdTime", "1699990000000")
        .text("updatedTime", serverTimeText)
        .endObject();
}

QByteArray bitgetPositions(const BitgetCategory& category)
{
    return bitgetEnvelope([&category](ReplyWriter& w) {
        w.beginObject("data").beginArray("list");
        for (int k = category.first; k < category.end; ++k) {
            bitgetPosition(w, holding(k), category);
        }
        w.endArray().endObject();
    });
}

void bitgetTicker(ReplyWriter& w, const Market& m)
{
    w.beginObject()
        .text("symbol", m.symbol(""))
        .text("high24h", m.high())
        .text("open", m.open())
        .text("lastPr", m.price())
        .text("low24h", m.low())
        .text("quoteVolume", m.quoteVolume())
        .text("baseVolume", m.baseVolume())
        .text("usdtVolume", m.quoteVolume())
        .text("ts", serverTimeText)
        .text("bidPr", m.bid())
        .text("askPr", m.ask())
        .text("bidSz", m.bookSize())
        .text("askSz", m.bookSize())
        .text("openUtc", m.open())
        .text("changeUtc24h", m.change())
        .text("change24h", m.change())
        .endObject();
}

QByteArray bitgetTickers()
{
    return bitgetEnvelope([](ReplyWriter& w) {
        w.beginArray("data");
        for (int i = 0; i < tickersPerExchange; ++i) {
            bitgetTicker(w, market(i));
        }
        w.endArray();
    });
}

QString bitgetPositionsKey(const BitgetCategory& category)
{
    return QStringLiteral("/api/v3/position/current-position?category=") +
           QString::fromLatin1(category.name.data(), static_cast<qsizetype>(category.name.size()));
}

}  // namespace

RecordedReplies bitgetReplies()
{
    RecordedReplies replies = {{QStringLiteral("/api/v3/account/assets"), bitgetUnifiedAssets()},
                               {QStringLiteral("/api/v3/account/funding-assets"), bitgetFunding()},
                               {QStringLiteral("/api/v2/spot/market/tickers"), bitgetTickers()}};
    for (const BitgetCategory& category : bitgetCategories) {
        replies.emplace(bitgetPositionsKey(category), bitgetPositions(category));
    }
    return replies;
}

}  // namespace vantrell::bench::generated
