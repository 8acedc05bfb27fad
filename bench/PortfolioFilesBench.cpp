#include "files/PortfolioDiskWriter.h"
#include "files/PortfolioFiles.h"
#include "models/Clock.h"
#include "platform/AllocatorTuning.h"
#include "platform/SupportFolder.h"

#include "BareJsonPass.h"

#include <benchmark/benchmark.h>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>

// Loading and saving the two files at their full size: a 90-day history (one point every
// 300 seconds plus 50 capital flows) and a cache of five exchanges holding 200 balances and
// 50 positions, with the per-connection components the store keeps beside the snapshot.

namespace {

using namespace vantrell;

constexpr int historyPoints = 25'920;
constexpr int flowCount = 50;
constexpr int balanceCount = 200;
constexpr int positionCount = 50;
constexpr Date now{800'000'000};
const QString identity(64, QLatin1Char('a'));

class FixedClock final : public Clock {
public:
    Date now() const override { return ::now; }
};

// Amounts with the digits real replies carry: "<whole>.<8 digits>".
Decimal amount(long long whole, long long fraction)
{
    const std::string digits = std::to_string(100'000'000 + fraction % 100'000'000).substr(1);
    return Decimal::parse(std::to_string(whole) + "." + digits).value();
}

PortfolioHistory fullHistory()
{
    PortfolioHistory history{identity, QStringLiteral("binance:合约,现货;okx:交易账户"), {}, {}};
    history.points.reserve(historyPoints);
    for (int i = historyPoints - 1; i >= 0; --i) {
        history.points.push_back({now.addingSeconds(-300.0 * i), amount(120'000 + i % 997, i)});
    }
    std::vector<CapitalFlow> flows;
    for (int i = 0; i < flowCount; ++i) {
        flows.push_back({Uuid::random(), now.addingSeconds(-150'000.5 * i), amount(i - 25, i)});
    }
    history.flows = std::move(flows);
    return history;
}

ExchangeProviderSnapshot exchangeData(Exchange exchange, int index)
{
    ExchangeProviderSnapshot data;
    data.account = {
        exchange,
        amount(20'000 + index, index),
        std::nullopt,
        {{AccountType::spot, amount(15'000, index)}, {AccountType::futures, amount(5'000, index)}}};
    for (int i = 0; i < balanceCount / 5; ++i) {
        data.balances.push_back({QStringLiteral("main"), QStringLiteral("默认账户"), exchange,
                                 AccountType::spot, QStringLiteral("ASSET%1").arg(i),
                                 amount(i, i * 7919), amount(i * 3, i * 104'729)});
    }
    for (int i = 0; i < positionCount / 5; ++i) {
        data.positions.push_back({QStringLiteral("main"), QStringLiteral("默认账户"), exchange,
                                  QStringLiteral("COIN%1USDT").arg(i),
                                  QStringLiteral("COIN%1").arg(i),
                                  i % 2 == 0 ? PositionSide::long_ : PositionSide::short_,
                                  amount(i, i), amount(100 + i, i), amount(101 + i, i),
                                  amount(i - 5, i), amount(i - 3, i), amount(1000 + i, i)});
    }
    return data;
}

CachedPortfolioSnapshot fullCache()
{
    CachedPortfolioSnapshot cache;
    cache.savedAt = now;
    cache.identity = identity;
    cache.quality.emplace();
    cache.components.emplace();
    int index = 0;
    for (Exchange exchange : allExchanges) {
        ExchangeProviderSnapshot data = exchangeData(exchange, index++);
        cache.snapshot.totalValue += data.account.totalValue;
        cache.snapshot.exchanges.push_back(data.account);
        cache.snapshot.balances.insert(cache.snapshot.balances.end(), data.balances.begin(),
                                       data.balances.end());
        cache.snapshot.positions.insert(cache.snapshot.positions.end(), data.positions.begin(),
                                        data.positions.end());
        (*cache.quality)[exchange] = QString();
        (*cache.components)[exchange] = {{caseName(exchange), std::move(data)}};
    }
    cache.snapshot.isLive = true;
    return cache;
}

struct Fixture {
    QTemporaryDir temporary;
    FixedClock clock;
    PortfolioDiskWriter writer;
    PortfolioFiles files{SupportFolder(temporary.filePath(QStringLiteral("Vantrell"))), &writer,
                         clock};
};

void saveHistory(benchmark::State& state)
{
    Fixture fixture;
    const PortfolioHistory history = fullHistory();
    quint64 revision = 0;
    for (auto _ : state) {
        fixture.files.saveHistory(history, ++revision, nullptr, nullptr);
        fixture.writer.flush();
    }
    state.counters["fileBytes"] = double(QFileInfo(fixture.files.historyPath(identity)).size());
}

// What the main thread pays for a history write: copying the record and queueing it.
void requestHistorySave(benchmark::State& state)
{
    Fixture fixture;
    const PortfolioHistory history = fullHistory();
    quint64 revision = 0;
    for (auto _ : state) {
        fixture.files.saveHistory(history, ++revision, nullptr, nullptr);
        state.PauseTiming();
        fixture.writer.flush();
        state.ResumeTiming();
    }
}

void loadHistory(benchmark::State& state)
{
    Fixture fixture;
    fixture.files.saveHistory(fullHistory(), 1, nullptr, nullptr);
    fixture.writer.flush();
    for (auto _ : state) {
        auto history = fixture.files.loadValueHistory(identity);
        if (!history || history->points.size() != historyPoints) {
            state.SkipWithError("history did not load whole");
        }
        benchmark::DoNotOptimize(history);
    }
    state.counters["fileBytes"] = double(QFileInfo(fixture.files.historyPath(identity)).size());
}

// RapidJSON's validating scan alone over the bytes loadHistory reads: the floor under loading.
void bareValidatingPassOfHistory(benchmark::State& state)
{
    Fixture fixture;
    fixture.files.saveHistory(fullHistory(), 1, nullptr, nullptr);
    fixture.writer.flush();
    QFile file(fixture.files.historyPath(identity));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("history file unreadable");
        return;
    }
    const QByteArray bytes = file.readAll();
    for (auto _ : state) {
        const bool parsed = vantrell::bench::bareJsonPass<rapidjson::kParseValidateEncodingFlag>(
            bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (!parsed) {
            state.SkipWithError("history file does not parse");
            break;
        }
    }
    state.counters["fileBytes"] = double(bytes.size());
}

void saveCache(benchmark::State& state)
{
    Fixture fixture;
    const CachedPortfolioSnapshot cache = fullCache();
    quint64 revision = 0;
    for (auto _ : state) {
        fixture.files.saveCache(cache, ++revision, nullptr, nullptr);
        fixture.writer.flush();
    }
    state.counters["fileBytes"] = double(QFileInfo(fixture.files.cachePath()).size());
}

void loadCache(benchmark::State& state)
{
    Fixture fixture;
    fixture.files.saveCache(fullCache(), 1, nullptr, nullptr);
    fixture.writer.flush();
    for (auto _ : state) {
        auto cache = fixture.files.loadCachedSnapshot();
        if (!cache || cache->snapshot.balances.size() != balanceCount) {
            state.SkipWithError("cache did not load whole");
        }
        benchmark::DoNotOptimize(cache);
    }
    state.counters["fileBytes"] = double(QFileInfo(fixture.files.cachePath()).size());
}

}  // namespace

BENCHMARK(saveHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(requestHistorySave)->Unit(benchmark::kMillisecond);
BENCHMARK(loadHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(bareValidatingPassOfHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(saveCache)->Unit(benchmark::kMillisecond);
BENCHMARK(loadCache)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    vantrell::tuneAllocatorForLongRunningProcess();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
