#include "GeneratedExchangeReplies.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrell::bench::generated {

namespace {

constexpr std::uint64_t unit = 100'000'000;             // amounts are counted in units of 1e-8
constexpr std::int64_t serverTime = 1'700'000'000'000;  // milliseconds
constexpr std::string_view serverTimeText = "1700000000000";

// Compact JSON written member by member, as the exchanges send theirs. An empty key writes a
// bare value (an array element).
class ReplyWriter {
public:
    ReplyWriter() : m_writer(m_buffer) {}

    ReplyWriter& text(std::string_view key, std::string_view value)
    {
        keyed(key);
        m_writer.String(value.data(), length(value));
        return *this;
    }
    ReplyWriter& integer(std::string_view key, std::int64_t value)
    {
        keyed(key);
        m_writer.Int64(value);
        return *this;
    }
    ReplyWriter& boolean(std::string_view key, bool value)
    {
        keyed(key);
        m_writer.Bool(value);
        return *this;
    }
    ReplyWriter& null(std::string_view key)
    {
        keyed(key);
        m_writer.Null();
        return *this;
    }
    ReplyWriter& beginObject(std::string_view key = {})
    {
        keyed(key);
        m_writer.StartObject();
        return *this;
    }
    ReplyWriter& endObject()
    {
        m_writer.EndObject();
        return *this;
    }
    ReplyWriter& beginArray(std::string_view key = {})
    {
        keyed(key);
        m_writer.StartArray();
        return *this;
    }
    ReplyWriter& endArray()
    {
        m_writer.EndArray();
        return *this;
    }

    QByteArray body() const
    {
        return QByteArray(m_buffer.GetString(), static_cast<qsizetype>(m_buffer.GetSize()));
    }

private:
    static rapidjson::SizeType length(std::string_view text)
    {
        return static_cast<rapidjson::SizeType>(text.size());
    }
    void keyed(std::string_view key)
    {
        if (!key.empty()) {
            m_writer.Key(key.data(), length(key));
        }
    }

    rapidjson::StringBuffer m_buffer;
    rapidjson::Writer<rapidjson::StringBuffer> m_writer;
};

std::string amount(std::uint64_t units)
{
    std::string text;
    appendAmount(text, units / unit, units % unit);
    return text;
}

std::string signedAmount(std::uint64_t units, bool negative)
{
    std::string text = negative ? "-" : "";
    text += amount(units);
    return text;
}

std::string assetCode(int index)
{
    std::string code;
    appendAsset(code, index);
    return code;
}

std::string joined(std::string_view first, std::string_view second)
{
    std::string text(first);
    text += second;
    return text;
}

// One spot market of the ticker lists. Row 0 is the bridge, BTC against USDT; row i is made-up
// asset i against USDT, or against BTC for every fifth asset. Every figure follows from the row
// and no price is 0.
struct Market {
    std::uint64_t row;
    std::string base;
    std::string quote;
    std::uint64_t last;

    std::string symbol(std::string_view separator) const
    {
        return joined(joined(base, separator), quote);
    }
    std::string price() const { return amount(last); }
    std::string ask() const { return amount(last + last / 2000 + 1); }
    std::string bid() const { return amount(last - last / 2000); }
    std::string open() const { return amount(last - last / 80); }
    std::string high() const { return amount(last + last / 40); }
    std::string low() const { return amount(last - last / 30); }
    std::string bookSize() const { return amount(scrambled() % (500 * unit) + unit / 100); }
    std::string baseVolume() const { return amount(scrambled() * 7 % (90'000 * unit) + unit); }
    std::string quoteVolume() const { return amount(scrambled() * 13 % (900'000 * unit) + unit); }
    // The 24-hour change as a ratio ("-0.01230000"), or times 100 as a percentage.
    std::string change(std::uint64_t scale = 1) const
    {
        return signedAmount(row * 37 % 900 * 10'000 * scale, row % 2 == 1);
    }

private:
    std::uint64_t scrambled() const { return row * 2'654'435'761; }
};

Market market(int index)
{
    const auto row = static_cast<std::uint64_t>(index);
    if (index == 0) {
        return {row, "BTC", "USDT", 60'000 * unit};
    }
    if (index % 5 == 0) {
        return {row, assetCode(index), "BTC", row * 7919 % (unit / 100) + 1};
    }
    return {row, assetCode(index), "USDT", row % 900 * unit + row * 7919 % unit + 1};
}

// Balance k of a run of priced balances that starts at made-up asset `first`: USDT leads, as in
// most accounts, and every other asset has a market in the ticker lists.
std::string pricedAsset(int k, int first)
{
    return k == 0 ? std::string("USDT") : assetCode(first + k - 1);
}

std::string quantity(int k)
{
    const auto n = static_cast<std::uint64_t>(k);
    return amount((n * 7 + 1) * unit + n * 12'345 % unit);
}

std::string lockedQuantity(int k)
{
    const auto n = static_cast<std::uint64_t>(k);
    return amount(n % 3 * unit + n * 999);
}

// What the exchange itself says a balance is worth, for the accounts it values.
std::string reportedValue(int k)
{
    const auto n = static_cast<std::uint64_t>(k);
    return amount((n * 250 + 10) * unit + n * 31);
}

// Open position k of an account: made-up asset k + 1, long when k is even.
struct Holding {
    std::uint64_t k;

    int asset() const { return static_cast<int>(k) + 1; }
    bool isLong() const { return k % 2 == 0; }
    std::string size() const { return amount((k + 1) * unit + 5); }
    std::string signedSize() const { return signedAmount((k + 1) * unit + 5, !isLong()); }
    std::string entry() const { return amount((100 + k) * unit + 25); }
    std::string mark() const { return amount((101 + k) * unit + 75); }
    std::string pnl() const { return signedAmount(k * unit + 50, k % 3 == 0); }
    std::string pnlRatio() const { return signedAmount(k * 123'456 + 1, k % 3 == 0); }
    std::string notional() const { return amount((1000 + k) * unit); }
    std::string margin() const { return amount((100 + k) * unit); }
    std::string liquidation() const { return amount((isLong() ? 60 + k : 140 + k) * unit); }
};

Holding holding(int k)
{
    return Holding{static_cast<std::uint64_t>(k)};
}

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

// Gate: 49 spot balances valued from the tickers and the USDT futures account; bare replies,
// no envelope.

QByteArray gateSpotAccounts()
{
    ReplyWriter w;
    w.beginArray();
    for (int k = 0; k < balancesPerAccount - 1; ++k) {
        w.beginObject()
            .text("currency", pricedAsset(k, 1))
            .text("available", quantity(k))
            .text("locked", lockedQuantity(k))
            .integer("update_id", 101 + k)
            .endObject();
    }
    w.endArray();
    return w.body();
}

QByteArray gateFuturesAccount()
{
    ReplyWriter w;
    w.beginObject()
        .integer("user", 1666)
        .text("currency", "USDT")
        .text("total", "2500.5")
        .text("unrealised_pnl", "-100.25")
        .text("position_margin", "38.712189181")
        .text("order_margin", "0")
        .text("available", "2361.78781082")
        .text("point", "0")
        .text("bonus", "0")
        .boolean("in_dual_mode", true)
        .boolean("enable_credit", false)
        .text("position_initial_margin", "38.712189181")
        .text("maintenance_margin", "0.193560945")
        .beginObject("history");
    for (const char* key : {"dnw", "pnl", "fee", "refr", "fund", "point_dnw", "point_fee",
                            "point_refr", "bonus_dnw", "bonus_offset"}) {
        w.text(key, "0");
    }
    w.endObject().endObject();
    return w.body();
}

// In dual mode the size of a short leg is negative and its mode names it.
void gatePosition(ReplyWriter& w, const Holding& p)
{
    const auto contracts = static_cast<std::int64_t>(p.k + 1) * 10;
    w.beginObject()
        .integer("user", 1666)
        .text("contract", joined(assetCode(p.asset()), "_USDT"))
        .integer("size", p.isLong() ? contracts : -contracts)
        .text("leverage", "10")
        .text("risk_limit", "1000000")
        .text("leverage_max", "100")
        .text("maintenance_rate", "0.005")
        .text("value", p.notional())
        .text("margin", p.margin())
        .text("entry_price", p.entry())
        .text("liq_price", p.liquidation())
        .text("mark_price", p.mark())
        .text("unrealised_pnl", p.pnl())
        .text("realised_pnl", "-0.4")
        .text("history_pnl", "0")
        .text("last_close_pnl", "0")
        .text("realised_point", "0")
        .text("history_point", "0")
        .integer("adl_ranking", 5)
        .integer("pending_orders", 0)
        .null("close_order")
        .text("mode", p.isLong() ? "dual_long" : "dual_short")
        .text("cross_leverage_limit", "0")
        .endObject();
}

QByteArray gatePositions()
{
    ReplyWriter w;
    w.beginArray();
    for (int k = 0; k < positionsPerAccount; ++k) {
        gatePosition(w, holding(k));
    }
    w.endArray();
    return w.body();
}

void gateTicker(ReplyWriter& w, const Market& m)
{
    w.beginObject()
        .text("currency_pair", m.symbol("_"))
        .text("last", m.price())
        .text("lowest_ask", m.ask())
        .text("highest_bid", m.bid())
        .text("change_percentage", m.change(100))
        .text("base_volume", m.baseVolume())
        .text("quote_volume", m.quoteVolume())
        .text("high_24h", m.high())
        .text("low_24h", m.low())
        .endObject();
}

QByteArray gateTickers()
{
    ReplyWriter w;
    w.beginArray();
    for (int i = 0; i < tickersPerExchange; ++i) {
        gateTicker(w, market(i));
    }
    w.endArray();
    return w.body();
}

QString bitgetPositionsKey(const BitgetCategory& category)
{
    return QStringLiteral("/api/v3/position/current-position?category=") +
           QString::fromLatin1(category.name.data(), static_cast<qsizetype>(category.name.size()));
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

RecordedReplies okxReplies()
{
    return {{QStringLiteral("/api/v5/account/balance"), okxTradingBalance()},
            {QStringLiteral("/api/v5/asset/balances"), okxFunding()},
            {QStringLiteral("/api/v5/account/positions"), okxPositions()},
            {QStringLiteral("/api/v5/market/tickers"), okxTickers()}};
}

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

RecordedReplies gateReplies()
{
    return {{QStringLiteral("/api/v4/spot/accounts"), gateSpotAccounts()},
            {QStringLiteral("/api/v4/spot/tickers"), gateTickers()},
            {QStringLiteral("/api/v4/futures/usdt/accounts"), gateFuturesAccount()},
            {QStringLiteral("/api/v4/futures/usdt/positions"), gatePositions()}};
}

RecordedReplies fiveExchangeReplies()
{
    RecordedReplies all;
    for (RecordedReplies (*exchange)() :
         {binanceReplies, okxReplies, bybitReplies, bitgetReplies, gateReplies}) {
        all.merge(exchange());
    }
    return all;
}

}  // namespace vantrell::bench::generated
