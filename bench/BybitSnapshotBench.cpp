#include "providers/BybitProvider.h"

#include "BenchTransport.h"

#include <cstdint>
#include <string>

// One Bybit snapshot from recorded replies (2,500 spot tickers, 40 wallet coins, 40 funding
// coins, 20 positions per settle coin): the connector's whole path (requests, signing, decoding,
// envelope checks, valuation, assembly) against parsing the same bytes into JSON trees and
// nothing else.

namespace {

using vantrell::bench::appendAmount;
using vantrell::bench::appendAsset;

constexpr int tickerCount = 2500;
constexpr int coinCount = 40;
constexpr int positionCount = 20;

std::string enveloped(const std::string& result)
{
    std::string json = R"({"retCode":0,"retMsg":"OK","result":)";
    json += result;
    json += R"(,"retExtInfo":{},"time":1700000000000})";
    return json;
}

std::string walletReply()
{
    std::string json = R"({"list":[{"totalEquity":"123456.78","accountType":"UNIFIED","coin":[)";
    for (int i = 0; i < coinCount; ++i) {
        const auto n = static_cast<std::uint64_t>(i);
        json += i > 0 ? R"(,{"coin":")" : R"({"coin":")";
        appendAsset(json, i + 1);
        json += R"(","equity":")";
        appendAmount(json, n * 3 + 1, n * 4567);
        json += R"(","usdValue":")";
        appendAmount(json, n * 250 + 10, n * 31);
        json += R"(","walletBalance":"1","locked":"0","borrowAmount":"0"})";
    }
    json += "]}]}";
    return enveloped(json);
}

std::string fundingReply()
{
    std::string json = R"({"memberId":"1","accountType":"FUND","balance":[)";
    for (int i = 0; i < coinCount; ++i) {
        json += i > 0 ? R"(,{"coin":")" : R"({"coin":")";
        appendAsset(json, i + 1);
        json += R"(","transferBalance":"1","walletBalance":")";
        appendAmount(json, static_cast<std::uint64_t>(i) + 1, 5);
        json += R"(","bonus":""})";
    }
    json += "]}";
    return enveloped(json);
}

// Symbols all distinct; every coin has a price, every fifth through the BTC pair and bridge.
std::string tickersReply()
{
    std::string json = R"({"category":"spot","list":[{"symbol":"BTCUSDT","lastPrice":"60000"})";
    for (int i = 1; i < tickerCount; ++i) {
        json += R"(,{"symbol":")";
        appendAsset(json, i);
        json += i % 5 == 0 ? "BTC" : "USDT";
        json += R"(","bid1Price":"1","ask1Price":"1","lastPrice":")";
        appendAmount(json, static_cast<std::uint64_t>(i % 900),
                     static_cast<std::uint64_t>(i) * 7919);
        json += R"(","volume24h":"1000","turnover24h":"1000"})";
    }
    json += "]}";
    return enveloped(json);
}

std::string positionsReply(const char* quote)
{
    std::string json = R"({"category":"linear","nextPageCursor":"","list":[)";
    for (int i = 0; i < positionCount; ++i) {
        const auto n = static_cast<std::uint64_t>(i);
        json += i > 0 ? R"(,{"symbol":")" : R"({"symbol":")";
        appendAsset(json, i + 1);
        json += quote;
        json += i % 2 == 0 ? R"(","side":"Buy","size":")" : R"(","side":"Sell","size":")";
        appendAmount(json, n + 1, 5);
        json += R"(","avgPrice":")";
        appendAmount(json, 100 + n, 25);
        json += R"(","markPrice":")";
        appendAmount(json, 101 + n, 75);
        json += R"(","unrealisedPnl":")";
        appendAmount(json, n, 50);
        json += R"(","positionValue":")";
        appendAmount(json, 1000 + n, 0);
        json += R"(","leverage":"10","positionStatus":"Normal"})";
    }
    json += "]}";
    return enveloped(json);
}

// Keyed by path and query: the two position calls share a path.
const vantrell::bench::RecordedReplies& replies()
{
    static const vantrell::bench::RecordedReplies bodies = {
        {QStringLiteral("/v5/account/wallet-balance?accountType=UNIFIED"),
         QByteArray::fromStdString(walletReply())},
        {QStringLiteral("/v5/asset/transfer/query-account-coins-balance?accountType=FUND"),
         QByteArray::fromStdString(fundingReply())},
        {QStringLiteral("/v5/position/list?category=linear&limit=200&settleCoin=USDT"),
         QByteArray::fromStdString(positionsReply("USDT"))},
        {QStringLiteral("/v5/position/list?category=linear&limit=200&settleCoin=USDC"),
         QByteArray::fromStdString(positionsReply("PERP"))},
        {QStringLiteral("/v5/market/tickers?category=spot"),
         QByteArray::fromStdString(tickersReply())},
    };
    return bodies;
}

}  // namespace

int main(int argc, char** argv)
{
    return vantrell::bench::runSnapshotBenchmarks<vantrell::BybitProvider>(
        argc, argv, replies(), [](const vantrell::ExchangeProviderSnapshot& snapshot) {
            return snapshot.balances.size() == 2 * coinCount && snapshot.unpricedAssets.empty() &&
                   snapshot.positions.size() == 2 * positionCount;
        });
}
