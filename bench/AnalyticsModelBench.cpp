#include "settings/CurrencyConversion.h"
#include "store/PortfolioPerformance.h"
#include "views/analytics/AnalyticsChartData.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

// The analytics page's rebuild over a full 90-day history (one point every 300 s) with 50
// recorded flows, converted into CNY: it runs on the main thread at every trigger, so it has to
// stay well inside one frame (16 ms).

namespace {

using namespace vantrell;

constexpr int pointCount = 90 * 288;  // 25,920
constexpr int flowCount = 50;

std::vector<PortfolioTrendSample> history()
{
    std::vector<PortfolioTrendSample> samples;
    samples.reserve(pointCount);
    const Date start{700'000'000};
    for (int i = 0; i < pointCount; ++i) {
        const std::string text =
            std::to_string(100'000 + (i * 7919) % 5000) + '.' + std::to_string(10 + i % 89);
        samples.push_back({start.addingSeconds(300.0 * i), *Decimal::parse(text)});
    }
    return samples;
}

std::vector<CapitalFlow> flows(const std::vector<PortfolioTrendSample>& samples)
{
    std::vector<CapitalFlow> list;
    for (int i = 0; i < flowCount; ++i) {
        list.push_back({Uuid::random(), samples[static_cast<std::size_t>(i) * 500].timestamp,
                        Decimal(i % 2 == 0 ? 1000 : -250)});
    }
    return list;
}

void BM_AnalyticsRebuild90Days(benchmark::State& state)
{
    const std::vector<PortfolioTrendSample> samples = history();
    const std::vector<CapitalFlow> recorded = flows(samples);
    const CurrencyRates rates{{QStringLiteral("USD"), *Decimal::parse("1.0812")},
                              {QStringLiteral("CNY"), *Decimal::parse("7.8125")}};
    const AnalyticsChartData::Conversion cny = [&rates](const Decimal& amount) {
        return CurrencyConversion::convert(amount, DisplayCurrency::cny, rates);
    };
    for (auto _ : state) {
        // The copy stands for the store handing out the range's samples.
        AnalyticsChartData data = AnalyticsChartData::build(samples, recorded, true, true, cny);
        benchmark::DoNotOptimize(data);
    }
}
BENCHMARK(BM_AnalyticsRebuild90Days)->Unit(benchmark::kMillisecond);

// What the store's trend query costs on the same history, the other half of a rebuild.
void BM_TrendSamples90Days(benchmark::State& state)
{
    std::vector<PortfolioValuePoint> points;
    for (const PortfolioTrendSample& sample : history()) {
        points.push_back({sample.timestamp, sample.totalValue});
    }
    const Date since = points.front().timestamp;
    const Date at = points.back().timestamp;
    for (auto _ : state) {
        auto samples = PortfolioPerformance::trendSamples(points, since, at, Decimal(1));
        benchmark::DoNotOptimize(samples);
    }
}
BENCHMARK(BM_TrendSamples90Days)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
