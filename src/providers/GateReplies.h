#pragma once

#include "models/JsonView.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

// The Gate replies the connector reads. Gate answers with bare JSON (no envelope), in
// snake_case keys; other keys are ignored. Every amount is JSON text: a number, or a required
// field that is absent or null, makes the whole reply undecodable. Optional fields accept absent
// or null only.

// One row of "/spot/accounts".
struct GateSpotAccount {
    QString currency;
    std::optional<QString> available;
    std::optional<QString> locked;

    static GateSpotAccount fromJson(const JsonView& json);
};

// One row of "/spot/tickers".
struct GateTicker {
    QString currencyPair;  // "BTC_USDT"
    std::optional<QString> last;

    static GateTicker fromJson(const JsonView& json);
};

// "/futures/usdt/accounts", all in USDT.
struct GateFuturesAccount {
    std::optional<QString> total;
    std::optional<QString> unrealisedPnl;
    std::optional<QString> crossMarginBalance;

    static GateFuturesAccount fromJson(const JsonView& json);
};

// One row of "/futures/usdt/positions".
struct GatePosition {
    QString contract;
    // Gate documents the size as a JSON integer (a count of contracts) in most versions of its
    // API and as text in others. Both are read, an integer's digits taken as exact decimal text;
    // a fractional or exponent number is refused like any other wrongly typed field.
    std::optional<QString> size;
    std::optional<QString> mode;
    std::optional<QString> entryPrice;
    std::optional<QString> markPrice;
    std::optional<QString> unrealisedPnl;
    std::optional<QString> value;

    static GatePosition fromJson(const JsonView& json);
};

// Everything one snapshot read, as the assembly takes it. An optional call that yielded
// nothing is absent.
struct GateReplies {
    std::vector<GateSpotAccount> spotAccounts;
    std::vector<GateTicker> tickers;
    std::optional<GateFuturesAccount> futuresAccount;
    std::optional<std::vector<GatePosition>> positions;
};

}  // namespace vantrell
