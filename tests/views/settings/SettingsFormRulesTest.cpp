#include "views/settings/PermissionRequestTracker.h"
#include "views/settings/SettingsFormRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vantrell;
namespace Rules = vantrell::SettingsFormRules;

namespace {

const Rules::IsConfigured onlyOKX = [](Exchange e) { return e == Exchange::okx; };

TEST(SettingsFormRulesTest, MenuBarOffersOnlyConfiguredExchanges)
{
    using M = MenuBarDisplayMode;
    EXPECT_EQ(Rules::offeredMenuBarModes(onlyOKX),
              (std::vector<M>{M::total, M::okx, M::totalWithChange, M::iconOnly}));
    EXPECT_EQ(Rules::offeredMenuBarModes([](Exchange) { return true; }).size(), 8u);

    EXPECT_EQ(Rules::menuBarFallback(M::binance, onlyOKX), M::total);
    EXPECT_EQ(Rules::menuBarFallback(M::okx, onlyOKX), std::nullopt);
    EXPECT_EQ(Rules::menuBarFallback(M::iconOnly, onlyOKX), std::nullopt);
    EXPECT_EQ(Rules::menuBarFallback(M::totalWithChange, onlyOKX), std::nullopt);
    EXPECT_EQ(Rules::label(M::gateio), QStringLiteral("Gate.io 资产"));
    EXPECT_EQ(Rules::label(M::totalWithChange), QStringLiteral("总资产 + 收益"));
}

TEST(SettingsFormRulesTest, IntervalIsPushedOnlyWhenItDiffers)
{
    EXPECT_EQ(Rules::intervalToPush(RefreshInterval::ten, 10), std::nullopt);
    EXPECT_EQ(Rules::intervalToPush(RefreshInterval::thirty, 10), 30.0);
    EXPECT_EQ(Rules::intervalToPush(RefreshInterval::five, 7.5), 5.0);
}

TEST(SettingsFormRulesTest, CooldownDisplay)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Row {
        std::optional<double> stored;
        long long shown;
    };
    const Row rows[] = {
        {std::nullopt, 30},
        {45.9, 45},
        {2000, 2000},
        {1e30, 1440},
        {inf, 1440},
        {-inf, 1},
        {-1e30, 1},
        {-3.7, -3},
        {std::numeric_limits<double>::quiet_NaN(), 30},
        {1, 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Rules::cooldownDisplay(row.stored), row.shown)
            << (row.stored ? *row.stored : -12345);
    }
    EXPECT_EQ(Rules::cooldownLabel(std::nullopt), QStringLiteral("提醒冷却：30 分钟"));
    EXPECT_EQ(Rules::cooldownStepped(std::nullopt, true), 35);
    EXPECT_EQ(Rules::cooldownStepped(1438, true), 1440);
    EXPECT_EQ(Rules::cooldownStepped(3, false), 1);
    EXPECT_EQ(Rules::cooldownStepped(2000, false), 1440);
}

TEST(SettingsFormRulesTest, CurrencyDescriptionIgnoresTheTimeForDollars)
{
    const QLocale en(QStringLiteral("en_US"));
    const QTimeZone utc(QByteArrayLiteral("UTC"));
    const Date at = Date::fromDateTime(QDateTime(QDate(2024, 3, 5), QTime(15, 7), utc));
    EXPECT_EQ(Rules::currencyRateDescription(DisplayCurrency::usd, at, en, utc),
              QStringLiteral("以美元显示资产金额"));
    EXPECT_EQ(Rules::currencyRateDescription(DisplayCurrency::usdt, at, en, utc),
              QStringLiteral("按 1 USDT = 1 USD 估算"));
    EXPECT_EQ(Rules::currencyRateDescription(DisplayCurrency::cny, std::nullopt, en, utc),
              QStringLiteral("汇率暂未更新"));
    EXPECT_EQ(Rules::currencyRateDescription(DisplayCurrency::hkd, at, en, utc),
              QStringLiteral("参考汇率更新于 Mar 5 3:07 PM"));
    EXPECT_EQ(Rules::lastCheckedText(at, en, utc), QStringLiteral("最近检查 Mar 5 3:07 PM"));
}

TEST(SettingsFormRulesTest, LateOrOvertakenPermissionAnswersAreDropped)
{
    PermissionRequestTracker tracker;
    EXPECT_FALSE(tracker.accepts(0));
    const auto first = tracker.begin();
    EXPECT_TRUE(tracker.accepts(first));
    const auto second = tracker.begin();  // switched off and on again quickly
    EXPECT_FALSE(tracker.accepts(first));
    EXPECT_TRUE(tracker.accepts(second));
    tracker.cancel();  // switched off: the answer still on its way no longer counts
    EXPECT_FALSE(tracker.accepts(second));
}

}  // namespace
