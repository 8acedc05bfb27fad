#include "providers/GateReplies.h"

#include "models/JsonCoding.h"

#include <algorithm>

namespace vantrell {

namespace {

// A position size: text as sent, or a JSON integer read as the text of its digits.
std::optional<QString> sizeText(const JsonView& row)
{
    const std::optional<JsonView> value = json::requireObject(row).find("size");
    if (!value || value->isNull()) {
        return std::nullopt;
    }
    if (value->isNumber()) {
        const std::string_view digits = value->text();
        const bool integral = std::none_of(digits.begin(), digits.end(),
                                           [](char c) { return c == '.' || c == 'e' || c == 'E'; });
        if (!integral) {
            json::fail("key \"size\": expected an integer, found " + std::string(digits));
        }
        return QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
    }
    return json::optional<QString>(row, "size");
}

}  // namespace

GateSpotAccount GateSpotAccount::fromJson(const JsonView& json)
{
    return GateSpotAccount{json::required<QString>(json, "currency"),
                           json::optional<QString>(json, "available"),
                           json::optional<QString>(json, "locked")};
}

GateTicker GateTicker::fromJson(const JsonView& json)
{
    return GateTicker{json::required<QString>(json, "currency_pair"),
                      json::optional<QString>(json, "last")};
}

GateFuturesAccount GateFuturesAccount::fromJson(const JsonView& json)
{
    return GateFuturesAccount{json::optional<QString>(json, "total"),
                              json::optional<QString>(json, "unrealised_pnl"),
                              json::optional<QString>(json, "cross_margin_balance")};
}

GatePosition GatePosition::fromJson(const JsonView& json)
{
    GatePosition row;
    row.contract = json::required<QString>(json, "contract");
    row.size = sizeText(json);
    row.mode = json::optional<QString>(json, "mode");
    row.entryPrice = json::optional<QString>(json, "entry_price");
    row.markPrice = json::optional<QString>(json, "mark_price");
    row.unrealisedPnl = json::optional<QString>(json, "unrealised_pnl");
    row.value = json::optional<QString>(json, "value");
    return row;
}

}  // namespace vantrell
