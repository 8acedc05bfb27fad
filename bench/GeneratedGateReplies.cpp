#include "GeneratedExchangeReplies.h"

#include "GeneratedFigures.h"
#include "GeneratedHolding.h"
#include "GeneratedMarket.h"
#include "ReplyWriter.h"

#include <cstdint>
#include <string>

namespace vantrell::bench::generated {

namespace {

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

}  // namespace

RecordedReplies gateReplies()
{
    return {{QStringLiteral("/api/v4/spot/accounts"), gateSpotAccounts()},
            {QStringLiteral("/api/v4/spot/tickers"), gateTickers()},
            {QStringLiteral("/api/v4/futures/usdt/accounts"), gateFuturesAccount()},
            {QStringLiteral("/api/v4/futures/usdt/positions"), gatePositions()}};
}

}  // namespace vantrell::bench::generated
