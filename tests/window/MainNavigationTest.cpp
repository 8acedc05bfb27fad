#include "window/MainNavigation.h"

#include <gtest/gtest.h>

#include <set>

using namespace vantrell;

namespace {

std::function<bool(Exchange)> configured(std::set<Exchange> exchanges)
{
    return [exchanges](Exchange exchange) { return exchanges.count(exchange) > 0; };
}

TEST(MainSectionTest, RawValuesAreTheCaseNamesAndNothingElse)
{
    for (MainSection section : allMainSections) {
        EXPECT_EQ(mainSectionFromRaw(rawValue(section)), section)
            << rawValue(section).toStdString();
    }
    EXPECT_EQ(rawValue(MainSection::exchangeManagement), "exchangeManagement");
    for (const char* other : {"", "Overview", "OKX", "gate", "exchangemanagement", " okx"}) {
        EXPECT_FALSE(mainSectionFromRaw(QString::fromUtf8(other))) << other;
    }
}

TEST(MainSectionTest, ExchangeSectionsMapOneToOne)
{
    for (Exchange exchange : allExchanges) {
        EXPECT_EQ(exchangeOf(sectionOf(exchange)), exchange);
    }
    EXPECT_FALSE(exchangeOf(MainSection::exchangeManagement));
    EXPECT_EQ(sidebarLabel(MainSection::gateio), "Gate.io");
    EXPECT_EQ(sidebarLabel(MainSection::assets), "资产明细");
}

TEST(MainNavigationTest, EffectiveSectionFallsBackToTheOverview)
{
    struct Row {
        const char* stored;
        std::set<Exchange> configured;
        MainSection expected;
    };
    const Row rows[] = {
        {"overview", {}, MainSection::overview},
        {"", {}, MainSection::overview},
        {"word", {Exchange::okx}, MainSection::overview},
        {"Positions", {}, MainSection::overview},
        {"okx", {}, MainSection::overview},
        {"okx", {Exchange::binance}, MainSection::overview},
        {"okx", {Exchange::okx}, MainSection::okx},
        {"gateio", {Exchange::gateio}, MainSection::gateio},
        // Non-exchange sections need no configured exchange.
        {"exchangeManagement", {}, MainSection::exchangeManagement},
        {"analytics", {}, MainSection::analytics},
        {"settings", {}, MainSection::settings},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(MainNavigation::effectiveSection(QString::fromUtf8(row.stored),
                                                   configured(row.configured)),
                  row.expected)
            << row.stored;
    }
}

TEST(MainNavigationTest, SidebarListsConfiguredExchangesInTheirOrder)
{
    const auto groups = MainNavigation::sidebarGroups({Exchange::gateio, Exchange::binance});
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(groups[0], (MainNavigation::Group{QString(), {MainSection::overview}}));
    EXPECT_EQ(groups[1].header, "交易所");
    EXPECT_EQ(groups[1].sections, (std::vector{MainSection::binance, MainSection::gateio,
                                               MainSection::exchangeManagement}));
    EXPECT_EQ(groups[2], (MainNavigation::Group{QStringLiteral("资产"),
                                                {MainSection::assets, MainSection::positions,
                                                 MainSection::analytics}}));
    EXPECT_EQ(groups[3], (MainNavigation::Group{QString(), {MainSection::settings}}));
}

TEST(MainNavigationTest, WithoutExchangesOnlyManagementIsListed)
{
    const auto groups = MainNavigation::sidebarGroups({});
    EXPECT_EQ(groups[1].sections, std::vector{MainSection::exchangeManagement});
}

}  // namespace
