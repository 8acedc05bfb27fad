#include "models/JsonReader.h"
#include "networking/ExchangeHTTPClient.h"
#include "networking/PublicMarketCache.h"
#include "platform/AllocatorTuning.h"
#include "providers/BinanceProvider.h"

#include <QCoreApplication>
#include <QCoroTask>

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <map>
#include <string>

// One Binance snapshot from recorded replies (3,000 prices, 50 balances, 20 positions): the
// connector's whole path (requests, signing, decoding, valuation, assembly) against parsing the
// same bytes into JSON trees and nothing else.

namespace {

constexpr int priceCount = 3000;
constexpr int balanceCount = 50;
constexpr int positionCount = 20;

void appendNumber(std::string& out, std::uint64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// "whole.fraction" with an eight-digit fraction, like the exchange writes amounts. Built by
// appending: g++ 12 at -O3 warns falsely about chains of std::string operator+.
void appendAmount(std::string& out, std::uint64_t whole, std::uint64_t fraction)
{
    appendNumber(out, whole);
    out += '.';
    std::string digits;
    appendNumber(digits, fraction % 100000000);
    out.append(8 - digits.size(), '0');
    out += digits;
}

void appendAsset(std::string& out, int index)
{
    out += 'C';
    appendNumber(out, static_cast<std::uint64_t>(1000 + index));
}

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

const std::map<QString, QByteArray>& replies()
{
    static const std::map<QString, QByteArray> bodies = {
        {QStringLiteral("/api/v3/account"), QByteArray::fromStdString(spotAccountReply())},
        {QStringLiteral("/api/v3/ticker/price"), QByteArray::fromStdString(pricesReply())},
        {QStringLiteral("/fapi/v3/account"), R"({"totalMarginBalance":"2500.75000000"})"},
        {QStringLiteral("/fapi/v3/positionRisk"), QByteArray::fromStdString(positionsReply())},
        {QStringLiteral("/sapi/v1/asset/get-funding-asset"),
         QByteArray::fromStdString(fundingReply())},
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
        response.body = replies().at(request.url.path());
        co_return response;
    }
};

void snapshotFromRecordedReplies(benchmark::State& state)
{
    RecordedTransport transport;
    vantrell::PublicMarketCache cache;
    const vantrell::ExchangeHTTPClient client(transport, cache);
    const vantrell::BinanceProvider provider(
        {QStringLiteral("bench-key"), QStringLiteral("bench-secret")}, client,
        vantrell::ExchangeEndpoints::allAt(QStringLiteral("https://bench.example")));
    for (auto _ : state) {
        cache.clear();  // every snapshot reads its own price list
        vantrell::ExchangeProviderSnapshot snapshot = QCoro::waitFor(provider.fetchSnapshot());
        if (snapshot.balances.size() != balanceCount + 3 || !snapshot.unpricedAssets.empty()) {
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
