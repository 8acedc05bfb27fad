#pragma once

// What the connector benchmarks share: writing made-up replies, a transport that answers from
// them at once, and the two measurements (a whole snapshot, parsing only) with their main().

#include "models/JsonDocument.h"
#include "models/JsonReader.h"
#include "networking/ExchangeHTTPClient.h"
#include "networking/HttpTransport.h"
#include "networking/PublicMarketCache.h"
#include "platform/AllocatorTuning.h"
#include "providers/ExchangeEndpoints.h"
#include "providers/ExchangeProvider.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QCoroTask>
#include <QString>

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace vantrell::bench {

inline void appendNumber(std::string& out, std::uint64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// "whole.fraction" with an eight-digit fraction, like the exchanges write amounts. Built by
// appending: g++ 12 at -O3 warns falsely about chains of std::string operator+.
inline void appendAmount(std::string& out, std::uint64_t whole, std::uint64_t fraction)
{
    appendNumber(out, whole);
    out += '.';
    std::string digits;
    appendNumber(digits, fraction % 100000000);
    out.append(8 - digits.size(), '0');
    out += digits;
}

// A made-up asset code, "C1000" + index, distinct for every index.
inline void appendAsset(std::string& out, int index)
{
    out += 'C';
    appendNumber(out, static_cast<std::uint64_t>(1000 + index));
}

// Reply bodies keyed by "path?query", or by the path alone where the query differs each time
// (a signed timestamp in it).
using RecordedReplies = std::map<QString, QByteArray>;

// Answers every request at once from the recorded bodies, so the fetch runs to its end without
// an event loop turn and only the program's own work is measured. Bodies come with the room
// after them that the network transport leaves when it reads a reply.
class RecordedTransport final : public HttpTransport {
public:
    explicit RecordedTransport(const RecordedReplies& replies)
    {
        for (const auto& [key, body] : replies) {
            QByteArray padded;
            padded.reserve(body.size() + static_cast<qsizetype>(JsonDocument::padding));
            padded.append(body);
            m_replies.emplace(key, std::move(padded));
        }
    }

    QCoro::Task<HttpResponse> perform(HttpRequest request) override
    {
        ++m_requestCount;
        const QString path = request.url.path();
        const auto exact = m_replies.find(QString(path + u'?' + request.url.query()));
        HttpResponse response;
        response.statusCode = 200;
        response.body = exact != m_replies.end() ? exact->second : m_replies.at(path);
        co_return response;
    }

    // Every request performed so far, answered or not.
    std::int64_t requestCount() const { return m_requestCount; }

private:
    RecordedReplies m_replies;
    std::int64_t m_requestCount = 0;
};

// The size of every body together.
inline std::int64_t totalBytes(const RecordedReplies& replies)
{
    std::int64_t bytes = 0;
    for (const auto& [key, body] : replies) {
        bytes += body.size();
    }
    return bytes;
}

// Whether a snapshot is the one the recorded replies should give.
using SnapshotCheck = std::function<bool(const ExchangeProviderSnapshot&)>;

// One snapshot per iteration through a `Provider`, its price list read anew each time; skips
// with an error when `expected` refuses a snapshot.
template <typename Provider>
void measureSnapshots(benchmark::State& state, const RecordedReplies& replies,
                      const SnapshotCheck& expected)
{
    RecordedTransport transport(replies);
    PublicMarketCache cache;
    const ExchangeHTTPClient client(transport, cache);
    const Provider provider({QStringLiteral("bench-key"), QStringLiteral("bench-secret")}, client,
                            ExchangeEndpoints::allAt(QStringLiteral("https://bench.example")));
    for (auto _ : state) {
        cache.clear();  // every snapshot reads its own price list
        ExchangeProviderSnapshot snapshot = QCoro::waitFor(provider.fetchSnapshot());
        if (!expected(snapshot)) {
            state.SkipWithError("unexpected snapshot");
            break;
        }
        benchmark::DoNotOptimize(snapshot);
    }
}

// Parsing the same bytes into JSON trees and nothing else: the floor under a snapshot.
inline void measureParsing(benchmark::State& state, const RecordedReplies& replies)
{
    const std::int64_t bytes = totalBytes(replies);
    for (auto _ : state) {
        for (const auto& [key, body] : replies) {
            JsonValue value = JsonReader::parse(body);
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

// The main() of a connector benchmark: a snapshot from `replies` through a `Provider` against
// parsing the same bytes only. The fetch is a coroutine and QCoro::waitFor needs an application
// object, even though the recorded transport never lets it reach the event loop.
template <typename Provider>
int runSnapshotBenchmarks(int argc, char** argv, const RecordedReplies& replies,
                          SnapshotCheck expected)
{
    tuneAllocatorForLongRunningProcess();
    QCoreApplication app(argc, argv);
    benchmark::RegisterBenchmark("snapshotFromRecordedReplies", [&replies, &expected](
                                                                    benchmark::State& state) {
        measureSnapshots<Provider>(state, replies, expected);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("parseOnlyOfTheSameBytes", [&replies](benchmark::State& state) {
        measureParsing(state, replies);
    })->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace vantrell::bench
