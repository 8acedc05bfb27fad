#pragma once

#include "models/JsonCoding.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

// The OKX replies the connector reads. Keys are the field names; other keys are ignored. Every
// field is JSON text, amounts and the result code included: a number, or a required field that
// is absent or null, makes the whole reply undecodable. Optional fields accept absent or null
// only.

// The result code and message every OKX reply starts with. "0" means success.
struct OKXEnvelopeStatus {
    QString code;
    QString msg;
};

// {"code": "0", "msg": "", "data": [...]}: all three keys required, `T` is the payload (an
// array of rows for every call the connector makes).
template <typename T>
struct OKXEnvelope : OKXEnvelopeStatus {
    T data;

    static OKXEnvelope fromJson(const JsonView& json)
    {
        OKXEnvelope envelope;
        envelope.code = json::required<QString>(json, "code");
        envelope.msg = json::required<QString>(json, "msg");
        envelope.data = json::required<T>(json, "data");
        return envelope;
    }
};

// One element of "/api/v5/account/balance": the trading account.
struct OKXAccountBalance {
    struct Detail {
        QString ccy;
        QString cashBal;
        QString eqUsd;

        static Detail fromJson(const JsonView& json);
    };

    QString totalEq;
    std::vector<Detail> details;

    static OKXAccountBalance fromJson(const JsonView& json);
};

// One row of "/api/v5/asset/balances": the funding account.
struct OKXFundingBalance {
    QString ccy;
    QString bal;

    static OKXFundingBalance fromJson(const JsonView& json);
};

// One row of "/api/v5/account/positions".
struct OKXPositionResponse {
    QString instId;
    QString posSide;
    QString pos;
    QString avgPx;
    QString markPx;
    QString upl;
    QString uplRatio;
    std::optional<QString> notionalUsd;

    static OKXPositionResponse fromJson(const JsonView& json);
};

// One row of "/api/v5/market/tickers?instType=SPOT"; "instId" is "BASE-QUOTE".
struct OKXTicker {
    QString instId;
    QString last;

    static OKXTicker fromJson(const JsonView& json);
};

// The payloads of one snapshot whose envelopes passed, as the assembly takes them. Positions
// are absent when their call yielded nothing.
struct OKXReplies {
    std::vector<OKXAccountBalance> tradingBalance;
    std::vector<OKXFundingBalance> funding;
    std::optional<std::vector<OKXPositionResponse>> positions;
    std::vector<OKXTicker> tickers;
};

}  // namespace vantrell
