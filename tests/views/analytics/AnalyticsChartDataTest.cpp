#include "views/analytics/AnalyticsChartData.h"

#include "platform/SystemTimeZone.h"
#include "settings/CurrencyConversion.h"
#include "support/ScopedEnvironmentVariable.h"
#include "views/analytics/AnalyticsTexts.h"

#include <gtest/gtest.h>

#include <QTimeZone>

using namespace vantrell;

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

const Date t0{700'000'000};

// Samples 300 s apart from t0 with the given totals.
std::vector<PortfolioTrendSample> series(std::initializer_list<const char*> totals)
{
    std::vector<PortfolioTrendSample> samples;
    for (const char* total : totals) {
        samples.push_back({t0.addingSeconds(300.0 * samples.size()), dec(total)});
    }
    return samples;
}

CapitalFlow flow(Date at, const char* amount)
{
    return CapitalFlow{Uuid::random(), at, dec(amount)};
}

const AnalyticsChartData::Conversion usd = [](const Decimal& amount) {
    return std::optional(amount);
};
const AnalyticsChartData::Conversion noRate = [](const Decimal&) {
    return std::optional<Decimal>();
};

TEST(AnalyticsChartDataTest, FiguresBySampleCount)
{
    const AnalyticsChartData none = AnalyticsChartData::build({}, {}, true, false, usd);
    EXPECT_TRUE(none.points.empty());
    EXPECT_EQ(none.yDomain, (AssetChartScale::Range{0, 1}));
    EXPECT_EQ(none.change, std::nullopt);
    EXPECT_EQ(none.highUSD, std::nullopt);
    EXPECT_EQ(none.lowUSD, std::nullopt);

    const AnalyticsChartData one = AnalyticsChartData::build(series({"100"}), {}, true, false, usd);
    ASSERT_EQ(one.points.size(), 1u);
    EXPECT_EQ(one.points[0], (AnalyticsChartPoint{t0, 100.0}));
    EXPECT_EQ(one.change, std::nullopt);
    EXPECT_EQ(one.changePercent, std::nullopt);
    EXPECT_EQ(one.highUSD, dec("100"));

    const AnalyticsChartData two =
        AnalyticsChartData::build(series({"200", "150", "250"}), {}, true, false, usd);
    EXPECT_EQ(two.change, dec("50"));
    EXPECT_EQ(two.changePercent, dec("25"));
    EXPECT_EQ(two.highUSD, dec("250"));
    EXPECT_EQ(two.lowUSD, dec("150"));
    EXPECT_EQ(two.samples.size(), 3u);
}

TEST(AnalyticsChartDataTest, FlowsAfterTheFirstSampleUpToTheLastAreTakenOut)
{
    const auto samples = series({"1000", "1100", "1300"});
    const Date first = samples.front().timestamp;
    const Date last = samples.back().timestamp;
    const std::vector<CapitalFlow> flows{flow(first, "500"),  // at the first instant: not deducted
                                         flow(first.addingSeconds(1), "100"),  // inside
                                         flow(last, "-40"),  // at the last instant: deducted
                                         flow(last.addingSeconds(1), "1000")};  // after the range

    const auto adjusted = AnalyticsChartData::build(samples, flows, true, true, usd);
    EXPECT_EQ(adjusted.change, dec("240"));  // 300 - (100 - 40)
    EXPECT_EQ(adjusted.changePercent, dec("24"));

    const auto plain = AnalyticsChartData::build(samples, flows, true, false, usd);
    EXPECT_EQ(plain.change, dec("300"));
    EXPECT_EQ(plain.changePercent, dec("30"));
}

TEST(AnalyticsChartDataTest, ChangeNeedsFreshCompleteDataAndAFirstValueForThePercent)
{
    const auto stale = AnalyticsChartData::build(series({"100", "90"}), {}, false, false, usd);
    EXPECT_EQ(stale.change, std::nullopt);
    EXPECT_EQ(stale.changePercent, std::nullopt);
    EXPECT_EQ(stale.points.size(), 2u);  // the curve is still drawn

    const auto fromZero = AnalyticsChartData::build(series({"0", "-5"}), {}, true, false, usd);
    EXPECT_EQ(fromZero.change, dec("-5"));
    EXPECT_EQ(fromZero.changePercent, std::nullopt);
}

TEST(AnalyticsChartDataTest, MissingRateSkipsPointsButKeepsSamplesAndFigures)
{
    const auto data = AnalyticsChartData::build(series({"100", "120"}), {}, true, false, noRate);
    EXPECT_TRUE(data.points.empty());
    EXPECT_EQ(data.yDomain, (AssetChartScale::Range{0, 1}));
    EXPECT_EQ(data.samples.size(), 2u);
    EXPECT_EQ(data.change, dec("20"));
    EXPECT_EQ(data.highUSD, dec("120"));
}

TEST(AnalyticsChartDataTest, PointsAreConvertedAndTheDomainFollowsThem)
{
    CurrencyRates rates{{QStringLiteral("USD"), dec("2")}, {QStringLiteral("CNY"), dec("14")}};
    const AnalyticsChartData::Conversion cny = [&rates](const Decimal& amount) {
        return CurrencyConversion::convert(amount, DisplayCurrency::cny, rates);
    };
    const auto data = AnalyticsChartData::build(series({"100", "200"}), {}, true, false, cny);
    ASSERT_EQ(data.points.size(), 2u);
    EXPECT_DOUBLE_EQ(data.points[0].value, 700);
    EXPECT_DOUBLE_EQ(data.points[1].value, 1400);
    EXPECT_EQ(data.yDomain, AssetChartScale::domain({700, 1400}));
    EXPECT_EQ(data.change, dec("100"));  // figures stay in US dollars
}

TEST(AnalyticsChartDataTest, LongHistoryIsThinnedButFiguresUseEverySample)
{
    std::vector<PortfolioTrendSample> samples;
    for (int i = 0; i < 2000; ++i) {
        samples.push_back({t0.addingSeconds(300.0 * i), Decimal(1000 + (i % 97))});
    }
    samples[777].totalValue = dec("5000.5");  // a spike the high must see
    samples[1234].totalValue = dec("3.25");
    const auto data = AnalyticsChartData::build(samples, {}, true, false, usd);
    EXPECT_LE(data.points.size(), 500u);
    EXPECT_EQ(data.points.front().date, samples.front().timestamp);
    EXPECT_EQ(data.points.back().date, samples.back().timestamp);
    EXPECT_EQ(data.samples.size(), 2000u);
    EXPECT_EQ(data.highUSD, dec("5000.5"));
    EXPECT_EQ(data.lowUSD, dec("3.25"));
    EXPECT_FALSE(data.drawsPointDots());
}

TEST(AnalyticsChartDataTest, DotsUpToTwentyFourPoints)
{
    std::vector<PortfolioTrendSample> samples;
    for (int i = 0; i < 25; ++i) {
        samples.push_back({t0.addingSeconds(i), Decimal(i)});
    }
    EXPECT_FALSE(AnalyticsChartData::build(samples, {}, true, false, usd).drawsPointDots());
    samples.pop_back();
    EXPECT_TRUE(AnalyticsChartData::build(samples, {}, true, false, usd).drawsPointDots());
}

TEST(AnalyticsChartDataTest, NearestPointPrefersTheEarlierOnATie)
{
    AnalyticsChartData data;
    EXPECT_EQ(data.nearestPoint(t0), std::nullopt);
    data.points = {{t0, 1}, {t0.addingSeconds(100), 2}, {t0.addingSeconds(200), 3}};
    EXPECT_EQ(data.nearestPoint(t0.addingSeconds(50)), 0u);  // tie between 0 and 1
    EXPECT_EQ(data.nearestPoint(t0.addingSeconds(151)), 2u);
    EXPECT_EQ(data.nearestPoint(t0.addingSeconds(-999)), 0u);
    EXPECT_EQ(data.nearestPoint(t0.addingSeconds(9999)), 2u);
}

TEST(AnalyticsChartDataTest, RangesEndAtTheLastUpdate)
{
    const QTimeZone zone(QByteArrayLiteral("Asia/Shanghai"));
    // 23:00 local time; the clock may since have passed midnight.
    const Date lastUpdated = Date::fromDateTime(QDateTime(QDate(2024, 5, 1), QTime(23, 0), zone));
    const Date midnight = Date::fromDateTime(QDateTime(QDate(2024, 5, 1), QTime(0, 0), zone));
    EXPECT_EQ(rangeStart(AnalyticsRange::today, lastUpdated, zone), midnight);
    EXPECT_EQ(rangeStart(AnalyticsRange::twentyFourHours, lastUpdated, zone),
              lastUpdated.addingSeconds(-86'400));
    EXPECT_EQ(rangeStart(AnalyticsRange::sevenDays, lastUpdated, zone),
              lastUpdated.addingSeconds(-604'800));
    EXPECT_EQ(rangeStart(AnalyticsRange::thirtyDays, lastUpdated, zone),
              lastUpdated.addingSeconds(-2'592'000));
    EXPECT_EQ(rangeStart(AnalyticsRange::ninetyDays, lastUpdated, zone),
              lastUpdated.addingSeconds(-7'776'000));
}

// A zone the system lacks reads as UTC, as the C library has it: "today" starts at midnight UTC,
// not in 1970, and the axis still has times to show.
TEST(AnalyticsChartDataTest, AnUnknownSystemZoneCountsTheDayAsUTC)
{
    const QTimeZone utc = QTimeZone::utc();
    const Date lastUpdated = Date::fromDateTime(QDateTime(QDate(2024, 5, 1), QTime(23, 0), utc));
    const QLocale locale(QStringLiteral("zh_CN"));
    test::ScopedEnvironmentVariable tz("TZ", "Foo/Bar");
    const QTimeZone system = systemTimeZone();
    EXPECT_EQ(rangeStart(AnalyticsRange::today, lastUpdated, system),
              Date::fromDateTime(QDateTime(QDate(2024, 5, 1), QTime(0, 0), utc)));
    EXPECT_EQ(AnalyticsTexts::axisLabel(lastUpdated, AnalyticsRange::today, locale, system),
              AnalyticsTexts::axisLabel(lastUpdated, AnalyticsRange::today, locale, utc));
    EXPECT_EQ(
        AnalyticsTexts::selectionDateLabel(lastUpdated, AnalyticsRange::today, locale, system),
        AnalyticsTexts::selectionDateLabel(lastUpdated, AnalyticsRange::today, locale, utc));
}

TEST(AnalyticsChartDataTest, RangeStoredValuesAndTitles)
{
    EXPECT_EQ(fromStored<AnalyticsRange>(u"sevenDays"), AnalyticsRange::sevenDays);
    EXPECT_EQ(fromStored<AnalyticsRange>(u"SevenDays"), std::nullopt);
    EXPECT_EQ(fromStored<AnalyticsRange>(u"7 天"), std::nullopt);
    for (AnalyticsRange range : allAnalyticsRanges) {
        EXPECT_EQ(fromStored<AnalyticsRange>(toStored(range)), range);
    }
    EXPECT_EQ(title(AnalyticsRange::twentyFourHours), QStringLiteral("24 小时"));
}

}  // namespace
