// The value history under a system clock that is wrong for a while (a hardware clock kept in
// local time, a dead battery, a date set by hand), and the local day under a time zone the system
// does not know.

#include "PortfolioStoreHarness.h"

#include "support/ScopedEnvironmentVariable.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vantrell;
using namespace vantrell::test;

namespace {

constexpr double hour = 3'600;
constexpr double day = 86'400;

class PortfolioStoreClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        binance = world.configure(Exchange::binance, QStringLiteral("bn"));
        binance->answer(result(Exchange::binance, "100"));
        realStart = world.clock.now();
    }

    // A history an earlier run left: a point every hour of the last three days, the newest ten
    // minutes ago, and one capital flow.
    void writeEarlierHistory()
    {
        for (int i = 72; i >= 1; --i) {
            earlier.push_back({realStart.addingSeconds(-600 - (i - 1) * hour), Decimal(i)});
        }
        flows = {{Uuid::random(), realStart.addingSeconds(-day), Decimal(7)}};
        world.writeFile(
            PortfolioHistory{world.identity(), QStringLiteral("binance:现货"), earlier, flows},
            world.historyFile());
    }

    // One refresh cycle with the clock reading `reading`.
    void cycleAt(PortfolioStore& store, Date reading)
    {
        world.clock.set(reading);
        refreshNow(store);
    }

    std::vector<PortfolioHistory> archives()
    {
        std::vector<PortfolioHistory> found;
        world.settleFiles();
        const QStringList names =
            QDir(world.folder()).entryList({QStringLiteral("portfolio-history-archive-*.json")});
        for (const QString& name : names) {
            found.push_back(*world.readHistory(name));
        }
        return found;
    }

    static bool holdsAll(const std::vector<PortfolioValuePoint>& points,
                         const std::vector<PortfolioValuePoint>& wanted)
    {
        return std::all_of(wanted.begin(), wanted.end(), [&](const PortfolioValuePoint& point) {
            return std::find(points.begin(), points.end(), point) != points.end();
        });
    }
    static bool holdsPointAt(const std::vector<PortfolioValuePoint>& points, Date at)
    {
        return std::any_of(points.begin(), points.end(), [at](const PortfolioValuePoint& point) {
            return point.timestamp == at;
        });
    }
    static bool isInTimeOrder(const std::vector<PortfolioValuePoint>& points)
    {
        return std::is_sorted(points.begin(), points.end(), [](const auto& a, const auto& b) {
            return a.timestamp < b.timestamp;
        });
    }

    // The history in memory and on disk keeps every earlier point, stays in time order, and
    // holds a point for the corrected reading `at`.
    void expectRecordingResumedAt(const PortfolioStore& store, Date at)
    {
        EXPECT_TRUE(holdsAll(store.valueHistory(), earlier));
        EXPECT_TRUE(holdsPointAt(store.valueHistory(), at));
        EXPECT_TRUE(isInTimeOrder(store.valueHistory()));
        const auto saved = world.readHistory(world.historyFile());
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->points, store.valueHistory());
        EXPECT_EQ(saved->flows, flows);
    }

    StoreWorld world;
    std::shared_ptr<GatedProvider> binance;
    Date realStart;
    std::vector<PortfolioValuePoint> earlier;
    std::vector<CapitalFlow> flows;
};

TEST_F(PortfolioStoreClockTest, AClockHoursAheadDelaysNoPointOnceItIsRight)
{
    writeEarlierHistory();
    auto store = world.makeStore();
    const Date ahead = realStart.addingSeconds(8 * hour);
    for (double elapsed : {0.0, 10.0, 310.0, 620.0}) {
        cycleAt(*store, ahead.addingSeconds(elapsed));
    }
    EXPECT_TRUE(holdsAll(store->valueHistory(), earlier));

    // Time sync sets the clock right: the very next cycle records, and so does one five
    // minutes on, although stray points from the clock ahead lie after both.
    const Date corrected = realStart.addingSeconds(630);
    cycleAt(*store, corrected);
    expectRecordingResumedAt(*store, corrected);
    cycleAt(*store, corrected.addingSeconds(300));
    EXPECT_TRUE(holdsPointAt(store->valueHistory(), corrected.addingSeconds(300)));
    // Figures and chart go by the points up to now only.
    for (const PortfolioTrendSample& sample :
         store->trendSamples(corrected.addingSeconds(-day), corrected.addingSeconds(300))) {
        EXPECT_LE(sample.timestamp, corrected.addingSeconds(300));
    }
}

TEST_F(PortfolioStoreClockTest, AClockYearsBehindLosesNothingAndRecordsOnceRight)
{
    writeEarlierHistory();
    auto store = world.makeStore();
    const Date y2000 = Date::fromUnixSeconds(946'684'800);
    for (double elapsed : {0.0, 10.0, 310.0}) {
        cycleAt(*store, y2000.addingSeconds(elapsed));
    }
    EXPECT_TRUE(holdsAll(store->valueHistory(), earlier));
    EXPECT_TRUE(isInTimeOrder(store->valueHistory()));

    const Date corrected = realStart.addingSeconds(320);
    cycleAt(*store, corrected);
    expectRecordingResumedAt(*store, corrected);
}

TEST_F(PortfolioStoreClockTest, OneCycleFarAheadSetsTheHistoryAsideInsteadOfErasingIt)
{
    writeEarlierHistory();
    auto store = world.makeStore();
    cycleAt(*store, realStart.addingSeconds(100 * day));

    const std::vector<PortfolioHistory> setAside = archives();
    ASSERT_EQ(setAside.size(), 1U);
    EXPECT_EQ(setAside.front().points, earlier);
    EXPECT_EQ(setAside.front().flows, flows);
    EXPECT_EQ(store->capitalFlows(), flows);

    const Date corrected = realStart.addingSeconds(10);
    cycleAt(*store, corrected);
    EXPECT_TRUE(holdsPointAt(store->valueHistory(), corrected));
    EXPECT_EQ(world.readHistory(world.historyFile())->points, store->valueHistory());
}

// A start under a clock far ahead: every stored point looks too old. None is dropped while
// loading; the first recording sets them aside before the file is written again.
TEST_F(PortfolioStoreClockTest, AStartFarAheadSetsTheLoadedHistoryAside)
{
    writeEarlierHistory();
    world.clock.set(realStart.addingSeconds(100 * day));
    auto store = world.makeStore();
    EXPECT_EQ(store->valueHistory(), earlier);
    refreshNow(*store);

    const std::vector<PortfolioHistory> setAside = archives();
    ASSERT_EQ(setAside.size(), 1U);
    EXPECT_EQ(setAside.front().points, earlier);
    EXPECT_EQ(store->capitalFlows(), flows);
    EXPECT_EQ(world.readHistory(world.historyFile())->points,
              (std::vector<PortfolioValuePoint>{{world.clock.now(), 100}}));
}

TEST_F(PortfolioStoreClockTest, APointStoredADayAheadBlocksNoRecording)
{
    writeEarlierHistory();
    const PortfolioValuePoint stray{realStart.addingSeconds(day), Decimal(1000)};
    earlier.push_back(stray);
    world.writeFile(
        PortfolioHistory{world.identity(), QStringLiteral("binance:现货"), earlier, flows},
        world.historyFile());

    auto store = world.makeStore();
    cycleAt(*store, realStart);
    expectRecordingResumedAt(*store, realStart);
    // The point from the future is no base and no sample: the base of the 24 hours is the
    // point a day ago (value 25), not the stray 1000.
    EXPECT_EQ(store->twentyFourHourPnL(), Decimal(75));
    const auto samples = store->trendSamples(realStart.addingSeconds(-day), realStart);
    EXPECT_TRUE(std::none_of(samples.begin(), samples.end(), [&](const auto& sample) {
        return sample.timestamp == stray.timestamp;
    }));

    cycleAt(*store, realStart.addingSeconds(300));
    EXPECT_TRUE(holdsPointAt(store->valueHistory(), realStart.addingSeconds(300)));
}

// Under a zone the system does not know, the local day is the UTC day, as the C library has it:
// the today figure is not the change since the oldest point, and raises no false alert.
TEST_F(PortfolioStoreClockTest, AnUnknownTimeZoneCountsTheDayAsUTCDoes)
{
    const Date midnight = PortfolioPerformance::startOfDay(realStart, QTimeZone::utc());
    world.writeFile(PortfolioHistory{world.identity(),
                                     QStringLiteral("binance:现货"),
                                     {{midnight.addingSeconds(-3 * day), Decimal(40)},
                                      {midnight.addingSeconds(-600), Decimal(80)},
                                      {midnight.addingSeconds(600), Decimal(90)}},
                                     std::vector<CapitalFlow>{}},
                    world.historyFile());
    world.defaults.setValue(QStringLiteral("performancePeriod"), QStringLiteral("today"));
    world.defaults.setValue(QStringLiteral("alertsEnabled"), true);
    world.defaults.setValue(QStringLiteral("alertPercent"), QStringLiteral("50"));
    world.timeZone.reset();

    const auto figuresUnder = [this](const char* zone) {
        ScopedEnvironmentVariable tz("TZ", zone);
        auto store = world.makeStore();
        refreshNow(*store);
        return std::pair(store->todayPnL(), store->todayChangePercent());
    };
    const auto utc = figuresUnder("UTC");
    EXPECT_EQ(utc.first, Decimal(20));
    EXPECT_EQ(figuresUnder("Foo/Bar"), utc);
    EXPECT_TRUE(world.notifier.notifications().empty());
}

}  // namespace
