#include "views/popover/PopoverHeight.h"

#include "views/portfolio/PortfolioReading.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace vantrell;

TEST(PopoverHeightTest, Table)
{
    struct Case {
        const char* name;
        std::vector<std::optional<int>> cards;
        int positions;
        bool banner;
        std::optional<int> screen;
        int expected;
    };
    const std::vector<std::optional<int>> twoCards{3, std::nullopt};
    const std::vector<Case> cases{
        {"nothing configured", {}, 0, false, 900, 420},
        {"nothing configured, banner", {}, 0, true, 900, 420},
        {"two cards, five positions", twoCards, 5, false, 900, 569},
        {"cap starts to bite at 597", twoCards, 5, false, 597, 569},
        {"one point less", twoCards, 5, false, 596, 568},
        {"twenty positions, tall screen", {}, 20, false, 900, 640},
        {"twenty positions, short screen", {}, 20, false, 400, 420},
        {"no screen", {}, 20, false, std::nullopt, 640},
        {"screen 650: the margin still applies", {}, 20, false, 650, 622},
        {"screen 668: 640", {}, 20, false, 668, 640},
        {"banner adds 28", twoCards, 5, true, 900, 597},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PopoverHeight::height(c.cards, c.positions, c.banner, c.screen), c.expected)
            << c.name;
    }
}

TEST(PopoverHeightTest, ContentFormula)
{
    EXPECT_EQ(PopoverHeight::content({3, std::nullopt}, 5, false), 569);
    EXPECT_EQ(PopoverHeight::content({}, 0, true), 210);
    EXPECT_EQ(PopoverHeight::content({0}, 0, false), 48 + 58 + 134);
}

TEST(PopoverHeightTest, ReadsTheCountsFromTheSnapshot)
{
    PortfolioReading reading;
    reading.configuredExchanges = {Exchange::binance, Exchange::okx};
    ExchangeAccount binance;
    binance.exchange = Exchange::binance;
    binance.accounts = {
        {AccountType::spot, 1}, {AccountType::funding, 2}, {AccountType::futures, 3}};
    ExchangeAccount unconfigured;  // data of an exchange that is not configured counts nothing
    unconfigured.exchange = Exchange::gateio;
    reading.snapshot.exchanges = {binance, unconfigured};
    reading.snapshot.positions.resize(5);
    EXPECT_EQ(PopoverHeight::height(reading, false, 900), 569);
}
