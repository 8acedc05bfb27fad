#include "providers/BybitReplies.h"

namespace vantrell {

BybitCoin BybitCoin::fromJson(const JsonView& json)
{
    return BybitCoin{json::required<QString>(json, "coin"), json::optional<QString>(json, "equity"),
                     json::optional<QString>(json, "usdValue")};
}

BybitWallet BybitWallet::fromJson(const JsonView& json)
{
    return BybitWallet{json::optional<QString>(json, "totalEquity"),
                       json::required<std::vector<BybitCoin>>(json, "coin")};
}

BybitWalletResult BybitWalletResult::fromJson(const JsonView& json)
{
    return BybitWalletResult{json::required<std::vector<BybitWallet>>(json, "list")};
}

BybitFundingCoin BybitFundingCoin::fromJson(const JsonView& json)
{
    return BybitFundingCoin{json::required<QString>(json, "coin"),
                            json::optional<QString>(json, "walletBalance")};
}

BybitFundingResult BybitFundingResult::fromJson(const JsonView& json)
{
    return BybitFundingResult{json::required<std::vector<BybitFundingCoin>>(json, "balance")};
}

BybitPosition BybitPosition::fromJson(const JsonView& json)
{
    BybitPosition row;
    row.symbol = json::required<QString>(json, "symbol");
    row.side = json::required<QString>(json, "side");
    row.size = json::optional<QString>(json, "size");
    row.avgPrice = json::optional<QString>(json, "avgPrice");
    row.markPrice = json::optional<QString>(json, "markPrice");
    row.unrealisedPnl = json::optional<QString>(json, "unrealisedPnl");
    row.positionValue = json::optional<QString>(json, "positionValue");
    return row;
}

BybitPositionResult BybitPositionResult::fromJson(const JsonView& json)
{
    return BybitPositionResult{json::required<std::vector<BybitPosition>>(json, "list")};
}

BybitTicker BybitTicker::fromJson(const JsonView& json)
{
    return BybitTicker{json::required<QString>(json, "symbol"),
                       json::optional<QString>(json, "lastPrice")};
}

BybitTickerResult BybitTickerResult::fromJson(const JsonView& json)
{
    return BybitTickerResult{json::required<std::vector<BybitTicker>>(json, "list")};
}

}  // namespace vantrell
