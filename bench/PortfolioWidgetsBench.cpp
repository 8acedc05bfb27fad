// Rebuilding the positions page after a filter change with 1,000 positions, and re-rendering the
// popover with five exchanges and 200 positions, each beside a baseline of plain labels laid out
// in the same run. Offscreen; the stores are real ones over the fake exchanges.

#include "support/StagedHoldings.h"
#include "support/ui/StagedPopover.h"
#include "views/popover/PopoverView.h"
#include "views/portfolio/PositionsListView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

using namespace vantrell;
using namespace vantrell::test;

namespace {

void stageEachExchange(StagedHoldings& holdings, int positionsPerExchange)
{
    for (Exchange exchange : allExchanges) {
        holdings.stage(StagedHoldings::sample(exchange, positionsPerExchange));
    }
    holdings.refresh();
}

// Lays out `count` plain labels in a column: what building rows as widgets would cost.
void layOutLabels(int count)
{
    QWidget column;
    auto* layout = new QVBoxLayout(&column);
    for (int i = 0; i < count; ++i) {
        layout->addWidget(new QLabel(QStringLiteral("COIN%1USDT  $1,234.56  +$12.34").arg(i)));
    }
    column.resize(700, 20 * count);
    layout->activate();
    benchmark::DoNotOptimize(column.sizeHint());
}

void positionsPageAfterFilterChange(benchmark::State& state)
{
    StagedHoldings holdings;
    stageEachExchange(holdings, 200);
    holdings.settings().setPositionSortMode(PositionSortMode::valueDescending);
    PositionsListView page(holdings.store(), holdings.settings(), holdings.credentials());
    page.resize(760, 560);
    page.show();
    QCoreApplication::processEvents();
    auto* search = page.findChild<QLineEdit*>(QStringLiteral("filterSearchField"));
    auto* table = page.findChild<QListView*>();
    int round = 0;
    for (auto _ : state) {
        // Alternate between a narrowing query and none, then paint the rows in view.
        search->setText((++round % 2) ? QStringLiteral(" usdt ") : QString());
        table->viewport()->repaint();
    }
    state.counters["rows"] = static_cast<double>(page.filteredPositions().size());
}
BENCHMARK(positionsPageAfterFilterChange)->Unit(benchmark::kMillisecond)->UseRealTime();

void baselineLabelsForPositionsPage(benchmark::State& state)
{
    for (auto _ : state) {
        layOutLabels(1000);
    }
}
BENCHMARK(baselineLabelsForPositionsPage)->Unit(benchmark::kMillisecond)->UseRealTime();

void popoverRender(benchmark::State& state)
{
    StagedPopover staged;
    stageEachExchange(staged.holdings, 40);
    PopoverView view(staged.store(), staged.settings(), staged.floating(), staged.updates());
    view.setVisibleScreenHeight(900);
    view.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        view.render();
        view.repaint();
    }
    state.counters["positions"] = static_cast<double>(view.model().positionRows.size());
}
BENCHMARK(popoverRender)->Unit(benchmark::kMillisecond)->UseRealTime();

void popoverModelOnly(benchmark::State& state)
{
    StagedPopover staged;
    stageEachExchange(staged.holdings, 40);
    for (auto _ : state) {
        benchmark::DoNotOptimize(PopoverModel::build(staged.store(), staged.settings(), {}));
    }
}
BENCHMARK(popoverModelOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void baselineLabelsForPopover(benchmark::State& state)
{
    for (auto _ : state) {
        layOutLabels(200);
    }
}
BENCHMARK(baselineLabelsForPopover)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
