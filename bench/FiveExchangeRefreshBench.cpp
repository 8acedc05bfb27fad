#include "providers/BinanceProvider.h"
#include "providers/BitgetProvider.h"
#include "providers/BybitProvider.h"
#include "providers/GateProvider.h"
#include "providers/OKXProvider.h"

#include "BareJsonPass.h"
#include "BenchTransport.h"
#include "GeneratedExchangeReplies.h"

#include <exception>
#include <memory>
#include <set>
#include <vector>

// One refresh of five accounts, one on each exchange, all started together and answered at
// once from generated replies of a realistic size, against RapidJSON's bare scan of the same
// bytes with and without UTF-8 validation.

namespace {

using namespace vantrell;
using bench::RecordedReplies;
using bench::RecordedTransport;

using Providers = std::vector<std::unique_ptr<ExchangeProvider>>;
using Snapshots = std::vector<ExchangeProviderSnapshot>;

const RecordedReplies& replies()
{
    static const RecordedReplies bodies = bench::generated::fiveExchangeReplies();
    return bodies;
}

Providers fiveProviders(const ExchangeHTTPClient& client)
{
    const ExchangeEndpoints endpoints =
        ExchangeEndpoints::allAt(QStringLiteral("https://bench.example"));
    const QString key = QStringLiteral("bench-key");
    const QString secret = QStringLiteral("bench-secret");
    const QString passphrase = QStringLiteral("bench-passphrase");
    Providers providers;
    providers.push_back(
        std::make_unique<BinanceProvider>(BinanceCredentials{key, secret}, client, endpoints));
    providers.push_back(
        std::make_unique<OKXProvider>(OKXCredentials{key, secret, passphrase}, client, endpoints));
    providers.push_back(
        std::make_unique<BybitProvider>(BybitCredentials{key, secret}, client, endpoints));
    providers.push_back(std::make_unique<BitgetProvider>(BitgetCredentials{key, secret, passphrase},
                                                         client, endpoints));
    providers.push_back(
        std::make_unique<GateProvider>(GateCredentials{key, secret}, client, endpoints));
    return providers;
}

// Every fetch is started before any is awaited, as a refresh of all accounts does.
Snapshots refreshAll(const Providers& providers)
{
    std::vector<QCoro::Task<ExchangeProviderSnapshot>> fetches;
    fetches.reserve(providers.size());
    for (const auto& provider : providers) {
        fetches.push_back(provider->fetchSnapshot());
    }
    Snapshots snapshots;
    snapshots.reserve(fetches.size());
    for (auto& fetch : fetches) {
        snapshots.push_back(QCoro::waitFor(std::move(fetch)));
    }
    return snapshots;
}

// Every balance and position read, and every balance priced.
bool isWhole(const ExchangeProviderSnapshot& snapshot)
{
    if (!snapshot.isComplete() || snapshot.positionsUnavailable ||
        snapshot.balances.size() != bench::generated::balancesPerAccount ||
        snapshot.positions.size() != bench::generated::positionsPerAccount) {
        return false;
    }
    for (const AssetBalance& balance : snapshot.balances) {
        if (balance.valueInUSD.isZero()) {
            return false;
        }
    }
    return true;
}

// Whether the refresh gave one whole snapshot per exchange.
bool isExpected(const Snapshots& snapshots)
{
    std::set<Exchange> exchanges;
    for (const ExchangeProviderSnapshot& snapshot : snapshots) {
        if (!isWhole(snapshot)) {
            return false;
        }
        exchanges.insert(snapshot.account.exchange);
    }
    return exchanges.size() == allExchanges.size();
}

// The refresh the timed ones repeat, checked: every body read exactly once, every snapshot
// whole. A fallback or a missing reply would show here rather than skew the figures.
const char* firstRefreshError(const Providers& providers, const RecordedTransport& transport)
{
    try {
        const Snapshots snapshots = refreshAll(providers);
        if (transport.requestCount() != static_cast<std::int64_t>(replies().size())) {
            return "a refresh did not read every body exactly once";
        }
        return isExpected(snapshots) ? nullptr : "a snapshot is not the expected one";
    } catch (const std::exception&) {
        return "a refresh failed";
    }
}

void fiveExchangeRefresh(benchmark::State& state)
{
    RecordedTransport transport(replies());
    PublicMarketCache cache;
    const ExchangeHTTPClient client(transport, cache);
    const Providers providers = fiveProviders(client);
    if (const char* error = firstRefreshError(providers, transport)) {
        state.SkipWithError(error);
        return;
    }
    const std::int64_t requestsPerRefresh = transport.requestCount();
    for (auto _ : state) {
        cache.clear();  // every refresh reads its ticker lists anew
        Snapshots snapshots = refreshAll(providers);
        benchmark::DoNotOptimize(snapshots);
    }
    state.counters["bytes"] = static_cast<double>(bench::totalBytes(replies()));
    state.counters["requests"] = static_cast<double>(requestsPerRefresh);
}

template <unsigned flags>
void bareReaderPass(benchmark::State& state)
{
    for (auto _ : state) {
        for (const auto& [key, body] : replies()) {
            const bool parsed =
                bench::bareJsonPass<flags>(body.constData(), static_cast<std::size_t>(body.size()));
            if (!parsed) {
                state.SkipWithError("a generated body does not parse");
                return;
            }
        }
    }
    state.counters["bytes"] = static_cast<double>(bench::totalBytes(replies()));
}

}  // namespace

// The fetches are coroutines and QCoro::waitFor needs an application object, even though the
// recorded transport never lets them reach the event loop.
int main(int argc, char** argv)
{
    tuneAllocatorForLongRunningProcess();
    QCoreApplication app(argc, argv);
    benchmark::RegisterBenchmark("fiveExchangeRefresh", fiveExchangeRefresh)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("bareValidatingPass",
                                 bareReaderPass<rapidjson::kParseValidateEncodingFlag>)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("bareDefaultPass", bareReaderPass<rapidjson::kParseDefaultFlags>)
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
