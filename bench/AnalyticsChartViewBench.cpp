#include "files/PortfolioDiskWriter.h"
#include "files/PortfolioFiles.h"
#include "settings/CurrencyConversion.h"
#include "store/PortfolioPerformance.h"
#include "support/ManualClock.h"
#include "support/PortfolioSamples.h"
#include "views/analytics/AnalyticsChartView.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <string>

// The analytics page's work after a trigger over a full 90-day history (25,920 points, one
// every 300 s, and 50 flows): the rebuild, then the chart update that follows it (series,
// smoothing and axes), and that update with the chart's next paint. The history load from
// disk is measured in the same run for scale: it happens once, at start-up or on a change of
// accounts, while the rebuild and chart update run on the main thread at every trigger and
// should fit in one 60 Hz frame (16 ms).

namespace {

using namespace vantrell;

constexpr int pointCount = 90 * 288;
constexpr int flowCount = 50;
const QString identity(64, QLatin1Char('b'));

struct History {
    History()
    {
        PortfolioHistory record = test::sampleHistory(identity, clock.now(), pointCount);
        for (std::size_t i = 0; i < record.points.size(); ++i) {
            const long long cents = 10'000'000 + std::llround(250'000 * std::sin(i / 900.0)) +
                                    static_cast<long long>((i * 7919) % 5000);
            record.points[i].totalValue = *Decimal::parse(
                std::to_string(cents / 100) + '.' + std::to_string(100 + cents % 100).substr(1));
        }
        std::vector<CapitalFlow> flows;
        for (int i = 0; i < flowCount; ++i) {
            flows.push_back({Uuid::random(), clock.now().addingSeconds(-150'000.5 * i),
                             Decimal(i % 2 == 0 ? 1000 : -250)});
        }
        record.flows = flows;
        files.saveHistory(record, 1, nullptr, nullptr);
        writer.flush();
        points = record.points;
        this->flows = std::move(flows);
    }

    AnalyticsChartData rebuild() const
    {
        const Date now = clock.now();
        std::vector<PortfolioTrendSample> samples = PortfolioPerformance::trendSamples(
            points, now.addingSeconds(-7'776'000), now, points.back().totalValue);
        return AnalyticsChartData::build(
            std::move(samples), flows, true, true, [this](const Decimal& usd) {
                return CurrencyConversion::convert(usd, DisplayCurrency::cny, rates);
            });
    }

    AnalyticsChartView::Content content(const AnalyticsChartData& data) const
    {
        return {data.points, data.yDomain, AnalyticsTexts::tone(true, data.changePercent),
                AnalyticsRange::ninetyDays, DisplayCurrency::cny};
    }

    ManualClock clock;
    QTemporaryDir folder;
    PortfolioDiskWriter writer;
    PortfolioFiles files{SupportFolder(folder.filePath(QStringLiteral("Vantrell"))), &writer,
                         clock};
    std::vector<PortfolioValuePoint> points;
    std::vector<CapitalFlow> flows;
    const CurrencyRates rates{{QStringLiteral("USD"), *Decimal::parse("1.0812")},
                              {QStringLiteral("CNY"), *Decimal::parse("7.8125")}};
};

// Made on first use and dropped before the application object goes.
std::unique_ptr<History> sharedHistory;

History& history()
{
    if (!sharedHistory) {
        sharedHistory = std::make_unique<History>();
    }
    return *sharedHistory;
}

void loadHistory(benchmark::State& state)
{
    for (auto _ : state) {
        auto loaded = history().files.loadValueHistory(identity);
        if (!loaded || loaded->points.size() != pointCount) {
            state.SkipWithError("history did not load whole");
        }
        benchmark::DoNotOptimize(loaded);
    }
}

void rebuild(benchmark::State& state)
{
    for (auto _ : state) {
        AnalyticsChartData data = history().rebuild();
        benchmark::DoNotOptimize(data);
    }
}

// Alternates two rebuilds (90 and 30 days) so every update really changes the series.
void chartUpdate(benchmark::State& state, bool paint)
{
    const AnalyticsChartData full = history().rebuild();
    AnalyticsChartData shorter = full;
    shorter.points.erase(shorter.points.begin(),
                         shorter.points.begin() + static_cast<long>(full.points.size() * 2 / 3));
    AnalyticsChartView view;
    view.resize(720, 300);
    view.show();
    QApplication::processEvents();
    QImage canvas(view.size(), QImage::Format_ARGB32_Premultiplied);
    bool useFull = true;
    for (auto _ : state) {
        view.setContent(history().content(useFull ? full : shorter));
        useFull = !useFull;
        if (paint) {
            QPainter painter(&canvas);
            view.render(&painter);
        }
    }
    state.counters["points"] = double(full.points.size());
}

void rebuildAndChartUpdate(benchmark::State& state)
{
    AnalyticsChartView view;
    view.resize(720, 300);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        view.setContent(history().content(history().rebuild()));
    }
}

}  // namespace

BENCHMARK(loadHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(rebuild)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(chartUpdate, seriesAndAxes, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(chartUpdate, withPaint, true)->Unit(benchmark::kMillisecond);
BENCHMARK(rebuildAndChartUpdate)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedHistory.reset();
    return 0;
}
