#include "models/JsonReader.h"
#include "networking/ExchangeHTTPClient.h"
#include "networking/PublicMarketCache.h"
#include "platform/AllocatorTuning.h"
#include "providers/BybitProvider.h"

#include <QCoreApplication>
#include <QCoroTask>

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <map>
#include <string>

// One Bybit snapshot from recorded replies (2,500 spot tickers, 40 wallet coins, 40 funding
// coins, 20 positions per settle coin): the connector's whole path (requests, signing, decoding,
// envelope checks, valuation, assembly) against parsing the same bytes into JSON trees and
// nothing else.

namespace {

constexpr int tickerCount = 2500;
constexpr int coinCount = 40;
constexpr int positionCount = 20;

void appendNumber(std::string& out, std::uint64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// "whole.fraction" with an eight-digit fraction. Built by appending: g++ 12 at -O3 warns
// falsely about chains of std::string operator+.
void appendAmount(std::string& out, std::uint64_t whole, std::uint64_t fraction)
{
    appendNumber(out, whole);
    out += '.';
    std::string digits;
    appendNumber(digits, fraction % 100000000);
    out.append(8 - digits.size(), '0');
    out += digits;
}

void appendCoin(std::string& out, int index)
{
    out += 'C';
    appendNumber(out, static_cast<std::uint64_t>(1000 + index));
}

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
        appendCoin(json, i + 1);
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
        appendCoin(json, i + 1);
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
        appendCoin(json, i);
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
        appendCoin(json, i + 1);
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
const std::map<QString, QByteArray>& replies()
{
    static const std::map<QString, QByteArray> bodies = {
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

// Answers every request at once from the recorded bodies, so the fetch runs to its end without
// an event loop turn and only the program's own work is measured.
class RecordedTransport final : public vantrell::HttpTransport {
public:
    QCoro::Task<vantrell::HttpResponse> perform(vantrell::HttpRequest request) override
    {
        vantrell::HttpResponse response;
        response.statusCode = 200;
        response.body = replies().at(request.url.path() + u'?' + request.url.query());
        co_return response;
    }
};

void snapshotFromRecordedReplies(benchmark::State& state)
{
    RecordedTransport transport;
    vantrell::PublicMarketCache cache;
    const vantrell::ExchangeHTTPClient client(transport, cache);
    const vantrell::BybitProvider provider(
        {QStringLiteral("bench-key"), QStringLiteral("bench-secret")}, client,
        vantrell::ExchangeEndpoints::allAt(QStringLiteral("https://bench.example")));
    for (auto _ : state) {
        cache.clear();  // every snapshot reads its own ticker list
        vantrell::ExchangeProviderSnapshot snapshot = QCoro::waitFor(provider.fetchSnapshot());
        if (snapshot.balances.size() != 2 * coinCount || !snapshot.unpricedAssets.empty() ||
            snapshot.positions.size() != 2 * positionCount) {
            state.SkipWithError("unexpected snapshot");
            break;
        }
        benchmark::DoNotOptimize(snapshot);
    }
}

void parseOnlyOfTheSameBytes(benchmark::State& state)
{
    std::int64_t bytes = 0;
    for (const auto& [path, body] : replies()) {
        bytes += body.size();
    }
    for (auto _ : state) {
        for (const auto& [path, body] : replies()) {
            vantrell::JsonValue value = vantrell::JsonReader::parse(body);
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

}  // namespace

BENCHMARK(snapshotFromRecordedReplies)->Unit(benchmark::kMicrosecond);
BENCHMARK(parseOnlyOfTheSameBytes)->Unit(benchmark::kMicrosecond);

// The fetch is a coroutine and QCoro::waitFor needs an application object, even though the
// recorded transport never lets it reach the event loop.
int main(int argc, char** argv)
{
    vantrell::tuneAllocatorForLongRunningProcess();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
