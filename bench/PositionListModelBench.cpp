// Rebuilding the positions page's rows after a filter change, and writing one screen of row
// texts, for a large portfolio.

#include "views/portfolio/AmountTexts.h"
#include "views/portfolio/PositionListModel.h"
#include "views/portfolio/PositionRowTexts.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <vector>

using namespace vantrell;

namespace {

std::vector<Position> positions(int count)
{
    std::vector<Position> list;
    for (int i = 0; i < count; ++i) {
        Position p;
        p.exchange = allExchanges[static_cast<std::size_t>(i % 5)];
        p.accountID = caseName(p.exchange);
        p.accountAlias = QStringLiteral("默认账户");
        p.symbol = QStringLiteral("COIN%1USDT").arg(i);
        p.side = i % 3 == 0 ? PositionSide::short_ : PositionSide::long_;
        p.quantity = *Decimal::parse(std::to_string(i % 97) + ".123456");
        p.markPrice = *Decimal::parse(std::to_string(1000 + i) + ".25");
        p.entryPrice = p.markPrice;
        p.unrealizedPnL = *Decimal::parse(std::to_string((i * 37) % 200 - 100) + ".5");
        list.push_back(std::move(p));
    }
    return list;
}

void rebuildAfterFilterChange(benchmark::State& state)
{
    const std::vector<Position> all = positions(static_cast<int>(state.range(0)));
    PositionListModel model;
    PortfolioFilter filter;
    int round = 0;
    for (auto _ : state) {
        // Alternate between a narrowing query and none, sorted by value (the costliest key).
        filter.query = (++round % 2) ? QStringLiteral(" coin1 ") : QString();
        model.rebuild(all, filter, PositionSortMode::valueDescending);
        benchmark::DoNotOptimize(model.rows().data());
    }
}
BENCHMARK(rebuildAfterFilterChange)->Arg(1000)->Unit(benchmark::kMillisecond);

void rowTextsOfOneScreen(benchmark::State& state)
{
    const std::vector<Position> all = positions(40);
    const AmountTexts amounts{DisplayCurrency::usd, {}};
    for (auto _ : state) {
        for (const Position& p : all) {
            benchmark::DoNotOptimize(PositionRowTexts::forTable(p, amounts));
        }
    }
}
BENCHMARK(rowTextsOfOneScreen)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
