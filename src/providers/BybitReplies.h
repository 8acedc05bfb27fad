#pragma once

#include "models/JsonCoding.h"
#include "models/JsonView.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

// The Bybit (v5) replies the connector reads. Keys are the field names; other keys are ignored.
// Every amount is JSON text: a number there, or a required field that is absent or null, makes
// the whole reply undecodable. Optional fields accept absent or null only.

// The frame around every v5 reply. `retCode` is a JSON integer (unlike the text codes of other
// exchanges); a non-zero code is the exchange refusing the request, checked by the connector.
// A refusal carries an empty `result` object ("result":{}), so `result` is read only when the
// code says success; otherwise the refusal would surface as an unreadable reply.
template <typename T>
struct BybitEnvelope {
    int retCode = 0;
    QString retMsg;
    T result;

    static BybitEnvelope fromJson(const JsonView& json)
    {
        BybitEnvelope envelope{json::required<int>(json, "retCode"),
                               json::required<QString>(json, "retMsg"), T{}};
        if (envelope.retCode == 0) {
            envelope.result = json::required<T>(json, "result");
        }
        return envelope;
    }
};

struct BybitCoin {
    QString coin;
    std::optional<QString> equity;
    std::optional<QString> usdValue;

    static BybitCoin fromJson(const JsonView& json);
};

struct BybitWallet {
    std::optional<QString> totalEquity;
    std::vector<BybitCoin> coin;

    static BybitWallet fromJson(const JsonView& json);
};

// "/v5/account/wallet-balance"
struct BybitWalletResult {
    std::vector<BybitWallet> list;

    static BybitWalletResult fromJson(const JsonView& json);
};

struct BybitFundingCoin {
    QString coin;
    std::optional<QString> walletBalance;

    static BybitFundingCoin fromJson(const JsonView& json);
};

// "/v5/asset/transfer/query-account-coins-balance"
struct BybitFundingResult {
    std::vector<BybitFundingCoin> balance;

    static BybitFundingResult fromJson(const JsonView& json);
};

struct BybitPosition {
    QString symbol;
    QString side;
    std::optional<QString> size;
    std::optional<QString> avgPrice;
    std::optional<QString> markPrice;
    std::optional<QString> unrealisedPnl;
    std::optional<QString> positionValue;

    static BybitPosition fromJson(const JsonView& json);
};

// "/v5/position/list", one settle coin.
struct BybitPositionResult {
    std::vector<BybitPosition> list;

    static BybitPositionResult fromJson(const JsonView& json);
};

struct BybitTicker {
    QString symbol;
    std::optional<QString> lastPrice;

    static BybitTicker fromJson(const JsonView& json);
};

// "/v5/market/tickers" (spot).
struct BybitTickerResult {
    std::vector<BybitTicker> list;

    static BybitTickerResult fromJson(const JsonView& json);
};

// The results one snapshot read, their envelopes already checked, as the assembly takes them.
// An optional call that yielded nothing is absent.
struct BybitReplies {
    BybitWalletResult wallet;
    std::optional<BybitFundingResult> funding;
    std::optional<BybitPositionResult> usdtPositions;
    std::optional<BybitPositionResult> usdcPositions;
    BybitTickerResult tickers;
};

}  // namespace vantrell
