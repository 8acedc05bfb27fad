#pragma once

#include "models/JsonCoding.h"
#include "models/JsonView.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

// The Bitget replies the connector reads. Keys are the field names; other keys are ignored.
// Every amount is JSON text: a number there, or a required field that is absent or null, makes
// the whole reply undecodable. Optional fields accept absent or null only.

// The wrapper of every Bitget reply. `code` is "00000" on success; the connector checks it
// (BitgetProvider::validatedData) where it reads `data`.
template <typename T>
struct BitgetEnvelope {
    QString code;
    QString msg;
    std::optional<T> data;

    static BitgetEnvelope fromJson(const JsonView& json)
    {
        return BitgetEnvelope{json::required<QString>(json, "code"),
                              json::required<QString>(json, "msg"),
                              json::optional<T>(json, "data")};
    }
};

// One coin of "/api/v3/account/assets".
struct BitgetUTAAsset {
    QString coin;
    std::optional<QString> equity;
    std::optional<QString> usdValue;

    static BitgetUTAAsset fromJson(const JsonView& json);
};

// "/api/v3/account/assets": the unified account's equity and its coins.
struct BitgetUTAAssets {
    std::optional<QString> accountEquity;
    std::vector<BitgetUTAAsset> assets;

    static BitgetUTAAssets fromJson(const JsonView& json);
};

// One row of "/api/v3/account/funding-assets".
struct BitgetFundingAsset {
    QString coin;
    std::optional<QString> balance;

    static BitgetFundingAsset fromJson(const JsonView& json);
};

// One position of "/api/v3/position/current-position". The exchange documents the size as
// "total"; "size" is read first and "total" only when "size" is absent.
struct BitgetUTAPosition {
    QString symbol;
    QString posSide;
    std::optional<QString> size;
    std::optional<QString> total;
    std::optional<QString> avgPrice;
    std::optional<QString> markPrice;
    std::optional<QString> unrealisedPnl;

    // The size text by that rule.
    const std::optional<QString>& sizeText() const { return size ? size : total; }

    static BitgetUTAPosition fromJson(const JsonView& json);
};

// The `data` of "/api/v3/position/current-position": the exchange documents an object whose
// "list" holds the positions; a bare array of positions is read as well.
struct BitgetUTAPositionList {
    std::vector<BitgetUTAPosition> list;

    static BitgetUTAPositionList fromJson(const JsonView& json);
};

// One row of "/api/v2/spot/market/tickers".
struct BitgetTicker {
    QString symbol;
    std::optional<QString> lastPr;

    static BitgetTicker fromJson(const JsonView& json);
};

// One coin of the classic "/api/v2/spot/account/assets".
struct BitgetSpotAsset {
    QString coin;
    std::optional<QString> available;
    std::optional<QString> frozen;
    std::optional<QString> locked;

    static BitgetSpotAsset fromJson(const JsonView& json);
};

// One margin coin of the classic "/api/v2/mix/account/accounts".
struct BitgetFuturesAccount {
    QString marginCoin;
    std::optional<QString> accountEquity;
    std::optional<QString> usdtEquity;

    static BitgetFuturesAccount fromJson(const JsonView& json);
};

// One position of the classic "/api/v2/mix/position/all-position".
struct BitgetClassicPosition {
    QString symbol;
    QString holdSide;
    std::optional<QString> total;
    std::optional<QString> openPriceAvg;
    std::optional<QString> markPrice;
    std::optional<QString> unrealizedPL;

    static BitgetClassicPosition fromJson(const JsonView& json);
};

// Everything one unified-account snapshot read, as its assembly takes it. An optional call
// that yielded nothing is absent.
struct BitgetUnifiedReplies {
    BitgetUTAAssets assets;
    std::optional<std::vector<BitgetFundingAsset>> funding;
    std::optional<std::vector<BitgetUTAPosition>> positions;
    std::optional<std::vector<BitgetTicker>> tickers;
};

// Everything one classic snapshot read. A product-type group in which any member failed is
// absent as a whole.
struct BitgetClassicReplies {
    std::vector<BitgetSpotAsset> spotAssets;
    std::vector<BitgetTicker> tickers;
    std::optional<std::vector<BitgetFuturesAccount>> futuresAccounts;
    std::optional<std::vector<BitgetClassicPosition>> positions;
};

}  // namespace vantrell
