#include "providers/BitgetReplies.h"

namespace vantrell {

BitgetUTAAsset BitgetUTAAsset::fromJson(const JsonView& json)
{
    return BitgetUTAAsset{json::required<QString>(json, "coin"),
                          json::optional<QString>(json, "equity"),
                          json::optional<QString>(json, "usdValue")};
}

BitgetUTAAssets BitgetUTAAssets::fromJson(const JsonView& json)
{
    return BitgetUTAAssets{json::optional<QString>(json, "accountEquity"),
                           json::required<std::vector<BitgetUTAAsset>>(json, "assets")};
}

BitgetFundingAsset BitgetFundingAsset::fromJson(const JsonView& json)
{
    return BitgetFundingAsset{json::required<QString>(json, "coin"),
                              json::optional<QString>(json, "balance")};
}

BitgetUTAPosition BitgetUTAPosition::fromJson(const JsonView& json)
{
    BitgetUTAPosition row;
    row.symbol = json::required<QString>(json, "symbol");
    row.posSide = json::required<QString>(json, "posSide");
    row.size = json::optional<QString>(json, "size");
    row.total = json::optional<QString>(json, "total");
    row.avgPrice = json::optional<QString>(json, "avgPrice");
    row.markPrice = json::optional<QString>(json, "markPrice");
    row.unrealisedPnl = json::optional<QString>(json, "unrealisedPnl");
    return row;
}

BitgetUTAPositionList BitgetUTAPositionList::fromJson(const JsonView& json)
{
    if (json.isArray()) {
        return BitgetUTAPositionList{decodeJson<std::vector<BitgetUTAPosition>>(json)};
    }
    return BitgetUTAPositionList{json::required<std::vector<BitgetUTAPosition>>(json, "list")};
}

BitgetTicker BitgetTicker::fromJson(const JsonView& json)
{
    return BitgetTicker{json::required<QString>(json, "symbol"),
                        json::optional<QString>(json, "lastPr")};
}

BitgetSpotAsset BitgetSpotAsset::fromJson(const JsonView& json)
{
    return BitgetSpotAsset{
        json::required<QString>(json, "coin"), json::optional<QString>(json, "available"),
        json::optional<QString>(json, "frozen"), json::optional<QString>(json, "locked")};
}

BitgetFuturesAccount BitgetFuturesAccount::fromJson(const JsonView& json)
{
    return BitgetFuturesAccount{json::required<QString>(json, "marginCoin"),
                                json::optional<QString>(json, "accountEquity"),
                                json::optional<QString>(json, "usdtEquity")};
}

BitgetClassicPosition BitgetClassicPosition::fromJson(const JsonView& json)
{
    BitgetClassicPosition row;
    row.symbol = json::required<QString>(json, "symbol");
    row.holdSide = json::required<QString>(json, "holdSide");
    row.total = json::optional<QString>(json, "total");
    row.openPriceAvg = json::optional<QString>(json, "openPriceAvg");
    row.markPrice = json::optional<QString>(json, "markPrice");
    row.unrealizedPL = json::optional<QString>(json, "unrealizedPL");
    return row;
}

}  // namespace vantrell
