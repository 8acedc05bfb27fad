#include "views/analytics/AnalyticsChartData.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStoreHarness.h"
#include "support/FakeHttpTransport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

using namespace vantrell;
using namespace vantrell::test;

namespace {

// The page's rebuild over a real store: the range ends at the store's last update and the
// samples, flows and freshness come from it.
class AnalyticsRebuildTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        transport.fail("GET", QStringLiteral("/stats/eurofxref/eurofxref-daily.xml"));
        settings = std::make_unique<AppSettings>(world.defaults, transport, world.clock);
        QCoreApplication::processEvents();
    }

    StoreWorld world;
    FakeHttpTransport transport;
    std::unique_ptr<AppSettings> settings;
};

TEST_F(AnalyticsRebuildTest, ChartsTheStoredHistoryUpToTheLastUpdate)
{
    const QTimeZone utc(QByteArrayLiteral("UTC"));
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    binance->answer(result(Exchange::binance, "130"));
    const Date now = world.clock.now();
    const std::vector<PortfolioValuePoint> history{{now.addingSeconds(-90'000), dec("50")},
                                                   {now.addingSeconds(-3'000), dec("100")},
                                                   {now.addingSeconds(-600), dec("110")}};
    auto store = world.makeStore(history);
    refreshNow(*store);
    store->addCapitalFlow(dec("10"), now.addingSeconds(-300));

    const auto plain =
        AnalyticsChartData::rebuild(AnalyticsRange::twentyFourHours, *store, *settings, false, utc);
    ASSERT_EQ(plain.samples.size(), 3u);  // two points and the live total
    EXPECT_EQ(plain.change, dec("30"));
    const auto net =
        AnalyticsChartData::rebuild(AnalyticsRange::twentyFourHours, *store, *settings, true, utc);
    EXPECT_EQ(net.change, dec("20"));
    EXPECT_EQ(AnalyticsChartData::rebuild(AnalyticsRange::sevenDays, *store, *settings, false, utc)
                  .samples.size(),
              4u);

    // Later, without a refresh: the range still ends at the last update.
    world.clock.advance(86'400 * 3);
    const auto later =
        AnalyticsChartData::rebuild(AnalyticsRange::twentyFourHours, *store, *settings, false, utc);
    EXPECT_EQ(later.samples.size(), 3u);
    EXPECT_EQ(later.change, std::nullopt);  // the data is no longer fresh
}

}  // namespace
