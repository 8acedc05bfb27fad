#pragma once

#include "models/JsonView.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

// The Binance replies the connector reads. Keys are the field names; other keys are ignored.
// Every amount is JSON text: a number, or a required field that is absent or null, makes the
// whole reply undecodable. Optional fields accept absent or null only.

// "/api/v3/account"
struct BinanceSpotAccountResponse {
    struct Balance {
        QString asset;
        QString free;
        QString locked;

        static Balance fromJson(const JsonView& json);
    };

    std::vector<Balance> balances;

    static BinanceSpotAccountResponse fromJson(const JsonView& json);
};

// "/fapi/v3/account"
struct BinanceFuturesAccountResponse {
    QString totalMarginBalance;

    static BinanceFuturesAccountResponse fromJson(const JsonView& json);
};

// One row of "/fapi/v3/positionRisk".
struct BinancePositionResponse {
    QString symbol;
    QString positionAmt;
    QString entryPrice;
    QString markPrice;
    QString unRealizedProfit;
    QString positionSide;
    std::optional<QString> notional;

    static BinancePositionResponse fromJson(const JsonView& json);
};

// One row of "/api/v3/ticker/price".
struct BinancePriceResponse {
    QString symbol;
    QString price;

    static BinancePriceResponse fromJson(const JsonView& json);
};

// One row of "/sapi/v1/asset/get-funding-asset".
struct BinanceFundingBalance {
    QString asset;
    std::optional<QString> free;
    std::optional<QString> locked;
    std::optional<QString> freeze;
    std::optional<QString> withdrawing;
    std::optional<QString> btcValuation;

    static BinanceFundingBalance fromJson(const JsonView& json);
};

// Everything one snapshot read, as the assembly takes it. An optional call that yielded
// nothing is absent.
struct BinanceReplies {
    BinanceSpotAccountResponse spotAccount;
    std::vector<BinancePriceResponse> prices;
    std::optional<BinanceFuturesAccountResponse> futuresAccount;
    std::optional<std::vector<BinancePositionResponse>> positions;
    std::optional<std::vector<BinanceFundingBalance>> funding;
};

}  // namespace vantrell
