#include "views/analytics/AnalyticsAxisTicks.h"
#include "views/analytics/CardinalCurve.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vantrell;

namespace {

const QTimeZone utc(QByteArrayLiteral("UTC"));

TEST(CardinalCurveTest, PassesThroughEveryPointAndKeepsTheEnds)
{
    const std::vector<QPointF> points{{0, 1}, {1, 3}, {2, 2}, {3, 5}, {4, 4}};
    const std::vector<QPointF> curve = CardinalCurve::smoothed(points, 0.5, 8);
    ASSERT_EQ(curve.size(), (points.size() - 1) * 8 + 1);
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(curve[i * 8], points[i]) << i;
    }
    // Between the points the curve bends: not the straight chord.
    EXPECT_NE(curve[4], QPointF(0.5, 2));
}

TEST(CardinalCurveTest, StraightInputStaysStraightAndShortInputIsKept)
{
    const std::vector<QPointF> line{{0, 0}, {1, 2}, {2, 4}, {3, 6}};
    for (const QPointF& point : CardinalCurve::smoothed(line, 0.5, 6)) {
        EXPECT_NEAR(point.y(), 2 * point.x(), 1e-9);
    }
    const std::vector<QPointF> two{{0, 0}, {1, 1}};
    EXPECT_EQ(CardinalCurve::smoothed(two, 0.5, 6), two);
    // Tension 1 gives straight segments.
    const std::vector<QPointF> zigzag{{0, 0}, {1, 1}, {2, 0}};
    const std::vector<QPointF> straight = CardinalCurve::smoothed(zigzag, 1.0, 4);
    EXPECT_NEAR(straight[2].y(), 0.5, 1e-9);
}

TEST(CardinalCurveTest, EvenlySpacedSamplesNeverRunBackwards)
{
    std::vector<QPointF> samples;
    for (int i = 0; i < 500; ++i) {
        samples.emplace_back(i * 300.0, 1000 + (i * 7919) % 50);
    }
    const std::vector<QPointF> curve =
        CardinalCurve::smoothed(samples, 0.5, CardinalCurve::subdivisionsFor(samples.size()));
    for (std::size_t i = 1; i < curve.size(); ++i) {
        ASSERT_GT(curve[i].x(), curve[i - 1].x()) << i;
    }
    EXPECT_LE(curve.size(), 4000u);
}

TEST(AnalyticsAxisTicksTest, ValueTicksAreRoundAndInside)
{
    struct Case {
        double lower, upper;
        std::vector<double> ticks;
    };
    for (const Case& entry : {
             Case{0, 1, {0, 0.2, 0.4, 0.6, 0.8, 1}},
             Case{27'900, 36'800, {28'000, 30'000, 32'000, 34'000, 36'000}},
             Case{-1500, 1500, {-1000, 0, 1000}},
             Case{99.95, 100.05, {99.96, 99.98, 100, 100.02, 100.04}},
             Case{5, 5, {}},
         }) {
        const std::vector<double> ticks =
            AnalyticsAxisTicks::valueTicks(entry.lower, entry.upper, 5);
        ASSERT_EQ(ticks.size(), entry.ticks.size()) << entry.lower;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i], entry.ticks[i], 1e-9) << entry.lower << " #" << i;
        }
    }
}

TEST(AnalyticsAxisTicksTest, TimeTicksFollowTheLocalClock)
{
    const Date start = Date::fromDateTime(QDateTime(QDate(2024, 5, 1), QTime(7, 13), utc));
    // A day: every four hours on the hour.
    const std::vector<Date> day =
        AnalyticsAxisTicks::timeTicks(start, start.addingSeconds(86'400), 6, utc);
    ASSERT_EQ(day.size(), 6u);
    EXPECT_EQ(day.front().toDateTime().toTimeZone(utc).time(), QTime(8, 0));
    EXPECT_EQ(day[1].secondsSince(day[0]), 4 * 3600);
    // A week: midnights, one a day.
    const std::vector<Date> week =
        AnalyticsAxisTicks::timeTicks(start, start.addingSeconds(7 * 86'400), 6, utc);
    ASSERT_FALSE(week.empty());
    EXPECT_LE(week.size(), 7u);
    for (Date tick : week) {
        EXPECT_EQ(tick.toDateTime().toTimeZone(utc).time(), QTime(0, 0));
    }
    // In another zone the marks sit on that zone's hours.
    const QTimeZone shanghai(QByteArrayLiteral("Asia/Shanghai"));
    for (Date tick :
         AnalyticsAxisTicks::timeTicks(start, start.addingSeconds(90 * 86'400), 6, shanghai)) {
        EXPECT_EQ(tick.toDateTime().toTimeZone(shanghai).time(), QTime(0, 0));
    }
    EXPECT_TRUE(AnalyticsAxisTicks::timeTicks(start, start, 6, utc).empty());
}

}  // namespace
