#include "providers/BinanceProvider.h"

#include "BenchTransport.h"

#include <cstdint>
#include <string>

// One Binance snapshot from recorded replies (3,000 prices, 50 balances, 20 positions): the
// connector's whole path (requests, signing, decoding, valuation, assembly) against parsing the
// same bytes into JSON trees and nothing else.

namespace {

using vantrell::bench::appendAmount;
using vantrell::bench::appendAsset;

constexpr int priceCount = 3000;
constexpr int balanceCount = 50;
constexpr int positionCount = 20;

std::string spotAccountReply()
{
    std::string json = R"({"makerCommission":10,"canTrade":true,"accountType":"SPOT","balances":[)";
    for (int i = 0; i < balanceCount; ++i) {
        json += i > 0 ? R"(,{"asset":")" : R"({"asset":")";
        appendAsset(json, i + 1);
        json += R"(","free":")";
        appendAmount(json, static_cast<std::uint64_t>(i) * 7 + 1,
                     static_cast<std::uint64_t>(i) * 12345);
        json += R"(","locked":")";
        appendAmount(json, static_cast<std::uint64_t>(i % 3), static_cast<std::uint64_t>(i) * 999);
        json += R"("})";
    }
    json += R"(],"permissions":["SPOT"]})";
    return json;
}

// One row per asset, all symbols distinct. Every balance has a price: most through the USDT
// pair, every fifth through the BTC pair and the bridge.
std::string pricesReply()
{
    std::string json = R"([{"symbol":"BTCUSDT","price":"60000.00000000"})";
    for (int i = 1; i < priceCount; ++i) {
        json += R"(,{"symbol":")";
        appendAsset(json, i);
        json += i % 5 == 0 ? "BTC" : "USDT";
        json += R"(","price":")";
        appendAmount(json, static_cast<std::uint64_t>(i % 900),
                     static_cast<std::uint64_t>(i) * 7919);
        json += R"("})";
    }
    json += ']';
    return json;
}

std::string positionsReply()
{
    std::string json = "[";
    for (int i = 0; i < positionCount; ++i) {
        const auto n = static_cast<std::uint64_t>(i);
        json += i > 0 ? R"(,{"symbol":")" : R"({"symbol":")";
        appendAsset(json, i + 1);
        json += i % 2 == 0 ? R"(USDT","positionSide":"LONG","positionAmt":")"
                           : R"(USDT","positionSide":"SHORT","positionAmt":"-)";
        appendAmount(json, n + 1, 5);
        json += R"(","entryPrice":")";
        appendAmount(json, 100 + n, 25);
        json += R"(","markPrice":")";
        appendAmount(json, 101 + n, 75);
        json += R"(","unRealizedProfit":")";
        appendAmount(json, n, 50);
        json += R"(","notional":")";
        appendAmount(json, 1000 + n, 0);
        json += R"(","marginAsset":"USDT","adl":1})";
    }
    json += ']';
    return json;
}

std::string fundingReply()
{
    return R"([{"asset":"USDT","free":"100","locked":"0","freeze":"0","withdrawing":"0","btcValuation":"0.0016"},)"
           R"({"asset":"C1001","free":"3.5","locked":"0","freeze":"0","withdrawing":"0","btcValuation":"0"}])";
}

// Keyed by path alone: every signed query carries the time.
const vantrell::bench::RecordedReplies& replies()
{
    static const vantrell::bench::RecordedReplies bodies = {
        {QStringLiteral("/api/v3/account"), QByteArray::fromStdString(spotAccountReply())},
        {QStringLiteral("/api/v3/ticker/price"), QByteArray::fromStdString(pricesReply())},
        {QStringLiteral("/fapi/v3/account"), R"({"totalMarginBalance":"2500.75000000"})"},
        {QStringLiteral("/fapi/v3/positionRisk"), QByteArray::fromStdString(positionsReply())},
        {QStringLiteral("/sapi/v1/asset/get-funding-asset"),
         QByteArray::fromStdString(fundingReply())},
    };
    return bodies;
}

}  // namespace

int main(int argc, char** argv)
{
    return vantrell::bench::runSnapshotBenchmarks<vantrell::BinanceProvider>(
        argc, argv, replies(), [](const vantrell::ExchangeProviderSnapshot& snapshot) {
            return snapshot.balances.size() == balanceCount + 3 && snapshot.unpricedAssets.empty();
        });
}
