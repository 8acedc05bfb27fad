#include "store/PortfolioPerformance.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

const Date since{100'000};
const Date at = since.addingSeconds(PortfolioPerformance::dayLength);

TEST(PortfolioPerformanceTest, BasePointSelection)
{
    struct Row {
        const char* name;
        std::vector<double> offsets;  // seconds from `since`
        std::optional<double> base;
    };
    const double day = PortfolioPerformance::dayLength;
    const std::vector<Row> rows = {
        {"1800 s before", {-1800, 100}, -1800},
        {"1800.5 s before, forward", {-1800.5, 100, 200}, 100},
        {"newest before wins", {-3000, -60, 100}, -60},
        {"exactly at since", {0, 100}, 0},
        {"only after since", {50, 100}, 50},
        {"at `at` never", {day}, std::nullopt},
        {"too old, none after", {-4000}, std::nullopt},
        {"empty", {}, std::nullopt},
    };
    for (const Row& row : rows) {
        std::vector<PortfolioValuePoint> points;
        for (double offset : row.offsets) {
            points.push_back({since.addingSeconds(offset), dec("1")});
        }
        const auto base = PortfolioPerformance::basePoint(points, since, at);
        ASSERT_EQ(base.has_value(), row.base.has_value()) << row.name;
        if (base) {
            EXPECT_EQ(base->timestamp, since.addingSeconds(*row.base)) << row.name;
        }
    }
}

TEST(PortfolioPerformanceTest, FlowsBetweenBaseAndNowAreTakenOut)
{
    const std::vector<PortfolioValuePoint> points{{since, dec("1000")}};
    const std::vector<CapitalFlow> flows{
        {Uuid::random(), since, dec("500")},                    // at the base: not counted
        {Uuid::random(), since.addingSeconds(10), dec("200")},  // deposit
        {Uuid::random(), since.addingSeconds(20), dec("-50")},  // withdrawal
        {Uuid::random(), at, dec("100")},                       // at `at`: counted
        {Uuid::random(), at.addingSeconds(1), dec("999")},      // after: not counted
    };
    const auto adjusted = PortfolioPerformance(points, flows, dec("1300"), true).change(since, at);
    EXPECT_EQ(adjusted.pnl, dec("50"));
    EXPECT_EQ(adjusted.percent, dec("5"));
    const auto raw = PortfolioPerformance(points, flows, dec("1300"), false).change(since, at);
    EXPECT_EQ(raw.pnl, dec("300"));
    EXPECT_EQ(raw.percent, dec("30"));

    const std::vector<PortfolioValuePoint> zero{{since, dec("0")}};
    const auto fromZero = PortfolioPerformance(zero, {}, dec("7"), false).change(since, at);
    EXPECT_EQ(fromZero.pnl, dec("7"));
    EXPECT_FALSE(fromZero.percent.has_value());
}

TEST(PortfolioPerformanceTest, TodayStartsAtLocalMidnightOnADaylightSavingDay)
{
    // 2024-03-31 in Berlin has 23 hours: midnight is 2024-03-30T23:00Z, and 12:00 local is
    // 10:00Z (CEST), only 11 hours after midnight.
    const QTimeZone berlin(QByteArrayLiteral("Europe/Berlin"));
    ASSERT_TRUE(berlin.isValid());
    const Date noon = Date::fromDateTime(
        QDateTime::fromString(QStringLiteral("2024-03-31T10:00:00Z"), Qt::ISODate));
    const Date midnight = Date::fromDateTime(
        QDateTime::fromString(QStringLiteral("2024-03-30T23:00:00Z"), Qt::ISODate));
    EXPECT_EQ(PortfolioPerformance::startOfDay(noon, berlin), midnight);
    EXPECT_EQ(PortfolioPerformance::periodStart(PerformancePeriod::twentyFourHours, noon, berlin),
              noon.addingSeconds(-86'400));

    // A wrong midnight at 22:00Z (a whole day in summer time) would take the 22:10Z point, one
    // at 00:00Z (the UTC day) would find no base at all.
    const std::vector<PortfolioValuePoint> points{{noon.addingSeconds(-86'400), dec("80")},
                                                  {midnight.addingSeconds(-50 * 60), dec("85")},
                                                  {midnight.addingSeconds(-20 * 60), dec("90")}};
    const auto figures = PortfolioPerformance(points, {}, dec("100"), false).figures(noon, berlin);
    EXPECT_EQ(figures.today.pnl, dec("10"));
    EXPECT_EQ(figures.twentyFourHours.pnl, dec("20"));
}

TEST(PortfolioPerformanceTest, TrendsAppendTheLiveTotalOnce)
{
    const std::vector<PortfolioValuePoint> points{
        {since.addingSeconds(-1), dec("1")}, {since, dec("2")}, {at, dec("3")}};
    EXPECT_EQ(PortfolioPerformance::trendValues(points, since, at, std::nullopt),
              (std::vector<double>{2, 3}));
    EXPECT_EQ(PortfolioPerformance::trendValues(points, since, at, dec("3")),
              (std::vector<double>{2, 3}));
    EXPECT_EQ(PortfolioPerformance::trendValues({}, since, at, dec("4")), std::vector<double>{4});
    const auto samples = PortfolioPerformance::trendSamples(points, since, at, dec("5"));
    ASSERT_EQ(samples.size(), 3U);
    EXPECT_EQ(samples.back(), (PortfolioTrendSample{at, dec("5")}));
}

}  // namespace
