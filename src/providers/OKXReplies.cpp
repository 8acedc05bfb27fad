#include "providers/OKXReplies.h"

namespace vantrell {

OKXAccountBalance::Detail OKXAccountBalance::Detail::fromJson(const JsonView& json)
{
    return Detail{json::required<QString>(json, "ccy"), json::required<QString>(json, "cashBal"),
                  json::required<QString>(json, "eqUsd")};
}

OKXAccountBalance OKXAccountBalance::fromJson(const JsonView& json)
{
    return OKXAccountBalance{json::required<QString>(json, "totalEq"),
                             json::required<std::vector<Detail>>(json, "details")};
}

OKXFundingBalance OKXFundingBalance::fromJson(const JsonView& json)
{
    return OKXFundingBalance{json::required<QString>(json, "ccy"),
                             json::required<QString>(json, "bal")};
}

OKXPositionResponse OKXPositionResponse::fromJson(const JsonView& json)
{
    OKXPositionResponse row;
    row.instId = json::required<QString>(json, "instId");
    row.posSide = json::required<QString>(json, "posSide");
    row.pos = json::required<QString>(json, "pos");
    row.avgPx = json::required<QString>(json, "avgPx");
    row.markPx = json::required<QString>(json, "markPx");
    row.upl = json::required<QString>(json, "upl");
    row.uplRatio = json::required<QString>(json, "uplRatio");
    row.notionalUsd = json::optional<QString>(json, "notionalUsd");
    return row;
}

OKXTicker OKXTicker::fromJson(const JsonView& json)
{
    return OKXTicker{json::required<QString>(json, "instId"),
                     json::required<QString>(json, "last")};
}

}  // namespace vantrell
