#include "models/JsonDocument.h"
#include "models/JsonReader.h"
#include "platform/AllocatorTuning.h"

#include <benchmark/benchmark.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

// Parsing a large ticker reply: our tree and our document against RapidJSON's bare SAX reader on
// the same bytes, to see what building each costs on top of a scan.

namespace {

constexpr int tickerCount = 3000;

// A small linear congruential generator, so every run parses the same bytes.
class Sequence {
public:
    std::uint32_t next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(m_state >> 33);
    }

private:
    std::uint64_t m_state = 42;
};

void appendNumber(std::string& out, std::uint64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// "whole.fraction" with the fraction padded to `places` digits, like an exchange's price text.
void appendFixed(std::string& out, std::uint64_t whole, std::uint64_t fraction, int places)
{
    appendNumber(out, whole);
    out += '.';
    std::string digits = std::to_string(fraction);
    out.append(static_cast<size_t>(places) - std::min(digits.size(), static_cast<size_t>(places)),
               '0');
    out += digits;
}

std::string tickerReply()
{
    static const char* const bases[] = {"BTC", "ETH", "SOL", "XRP", "DOGE", "ADA", "LINK", "AVAX"};
    static const char* const quotes[] = {"USDT", "USDC", "BTC"};
    Sequence random;
    std::string json = "[";
    for (int i = 0; i < tickerCount; ++i) {
        if (i > 0) {
            json += ',';
        }
        json += R"({"symbol":")";
        json += bases[random.next() % 8];
        json += quotes[random.next() % 3];
        json += R"(","price":")";
        appendFixed(json, random.next() % 60000, random.next() % 100000000, 8);
        json += R"(","volume":)";
        appendFixed(json, random.next() % 100000, random.next() % 100, 2);
        json += R"(,"change":)";
        if (random.next() % 2 == 0) {
            json += '-';
        }
        appendFixed(json, random.next() % 20, random.next() % 100, 2);
        json += '}';
    }
    json += ']';
    return json;
}

const std::string& reply()
{
    static const std::string json = tickerReply();
    return json;
}

void treeParse(benchmark::State& state)
{
    const std::string& json = reply();
    for (auto _ : state) {
        vantrell::JsonValue value = vantrell::JsonReader::parse(std::string_view(json));
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(json.size()));
    state.counters["bytes"] = static_cast<double>(json.size());
}

void documentParse(benchmark::State& state)
{
    const std::string& json = reply();
    for (auto _ : state) {
        vantrell::JsonDocument document = vantrell::JsonDocument::parse(std::string_view(json));
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(json.size()));
}

void bareReader(benchmark::State& state)
{
    const std::string& json = reply();
    constexpr unsigned flags =
        rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag;
    for (auto _ : state) {
        rapidjson::MemoryStream stream(json.data(), json.size());
        rapidjson::Reader reader;
        rapidjson::BaseReaderHandler<> handler;
        const rapidjson::ParseResult result = reader.Parse<flags>(stream, handler);
        if (result.IsError()) {
            state.SkipWithError("the generated reply does not parse");
            break;
        }
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(json.size()));
}

}  // namespace

BENCHMARK(treeParse);
BENCHMARK(documentParse);
BENCHMARK(bareReader);

// The program tunes its allocator at start-up; measure under the same conditions.
int main(int argc, char** argv)
{
    vantrell::tuneAllocatorForLongRunningProcess();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
