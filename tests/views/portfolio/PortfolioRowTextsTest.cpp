#include "views/kit/ChangeTint.h"
#include "views/portfolio/BalanceRowTexts.h"
#include "views/portfolio/PositionRowTexts.h"
#include "views/portfolio/PositionSortTexts.h"

#include "support/ScopedDefaultLocale.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantrell;

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

const AmountTexts usd{DisplayCurrency::usd, {}};
// Euro rates without the dollar: nothing can be converted.
const AmountTexts eurWithoutRates{DisplayCurrency::eur, {{u"CNY"_qs, dec("7.8")}}};
const AmountTexts cny{DisplayCurrency::cny, {{u"USD"_qs, dec("1.25")}, {u"CNY"_qs, dec("10")}}};

Position position(const char* pnl, const char* percent)
{
    Position p;
    p.exchange = Exchange::bybit;
    p.symbol = u"BTCUSDT"_qs;
    p.side = PositionSide::short_;
    p.quantity = dec("1234.56789");
    p.entryPrice = dec("100");
    p.markPrice = dec("101.5");
    p.unrealizedPnL = dec(pnl);
    p.pnlPercent = dec(percent);
    p.notionalValueUSD = dec("-2500");
    return p;
}

class PortfolioRowTextsTest : public ::testing::Test {
protected:
    test::ScopedDefaultLocale locale{u"en_US"_qs};
    const QString minus = QLocale().negativeSign();
};

}  // namespace

TEST_F(PortfolioRowTextsTest, ProfitSignsDifferBetweenTheTableAndTheCards)
{
    struct Case {
        const char* pnl;
        const AmountTexts* amounts;
        QString table;
        QString overview;
        ChangeTint tint;
    };
    const std::vector<Case> cases{
        {"12.5", &usd, u"+$12.50"_qs, u"+$12.50"_qs, ChangeTint::gain},
        {"0", &usd, u"$0.00"_qs, u"+$0.00"_qs, ChangeTint::gain},
        {"-3.2", &usd, minus + u"$3.20"_qs, minus + u"$3.20"_qs, ChangeTint::loss},
        {"4", &eurWithoutRates, u"+—"_qs, u"+—"_qs, ChangeTint::gain},
        {"-4", &eurWithoutRates, u"—"_qs, u"—"_qs, ChangeTint::loss},
        {"4", &cny, u"+CN¥32.00"_qs, u"+CN¥32.00"_qs, ChangeTint::gain},
    };
    for (const auto& c : cases) {
        const Position p = position(c.pnl, "0");
        const PositionRowTexts table = PositionRowTexts::forTable(p, *c.amounts);
        const PositionRowTexts overview = PositionRowTexts::forOverview(p, *c.amounts);
        EXPECT_EQ(table.pnl, c.table) << c.pnl;
        EXPECT_EQ(overview.pnl, c.overview) << c.pnl;
        EXPECT_EQ(table.pnlTint, c.tint) << c.pnl;
        EXPECT_EQ(overview.pnlTint, c.tint) << c.pnl;
    }
}

TEST_F(PortfolioRowTextsTest, PositionRowWritesPricesQuantityAndValue)
{
    Position p = position("1", "0");
    p.accountAlias = u"<b>desk</b>"_qs;
    const PositionRowTexts table = PositionRowTexts::forTable(p, usd);
    EXPECT_EQ(table.exchange, Exchange::bybit);
    EXPECT_EQ(table.side, u"SHORT"_qs);
    EXPECT_EQ(table.sideTint, ChangeTint::loss);
    EXPECT_EQ(table.priceLine, u"开仓价 $100.00 · 标记价 $101.50"_qs);
    EXPECT_EQ(table.alias, u"<b>desk</b>"_qs);
    EXPECT_EQ(table.quantity, u"1,234.5679"_qs);  // four digits, half up
    EXPECT_EQ(table.value, u"$2,500.00"_qs);      // never negative

    const PositionRowTexts overview = PositionRowTexts::forOverview(p, usd);
    EXPECT_EQ(overview.priceLine, u"开仓价 $100.00  ·  标记价 $101.50"_qs);
    EXPECT_FALSE(overview.alias);

    p.side = PositionSide::long_;
    EXPECT_EQ(PositionRowTexts::forTable(p, eurWithoutRates).sideTint, ChangeTint::gain);
    EXPECT_EQ(PositionRowTexts::forTable(p, eurWithoutRates).priceLine, u"开仓价 — · 标记价 —"_qs);
}

TEST_F(PortfolioRowTextsTest, PercentTextsSignOnlyAboveZero)
{
    struct Case {
        const char* percent;
        QString expected;
    };
    const std::vector<Case> cases{{"1.25", u"+1.25%"_qs},   {"0", u"0.00%"_qs},
                                  {"-0.4", u"-0.40%"_qs},   {"0.004", u"+0.00%"_qs},
                                  {"-0.001", u"-0.00%"_qs}, {"1234.565", u"+1234.57%"_qs}};
    for (const auto& c : cases) {
        EXPECT_EQ(AmountTexts::percent(dec(c.percent)), c.expected) << c.percent;
    }
}

TEST_F(PortfolioRowTextsTest, ChangeTints)
{
    EXPECT_EQ(changeTintOf(std::nullopt), ChangeTint::primary);
    EXPECT_EQ(changeTintOf(dec("0")), ChangeTint::gain);
    EXPECT_EQ(changeTintOf(dec("-0.0001")), ChangeTint::loss);
}

TEST_F(PortfolioRowTextsTest, BalanceRowsOfTheListAndOfTheExchangePage)
{
    AssetBalance b;
    b.exchange = Exchange::okx;
    b.accountType = AccountType::funding;
    b.asset = u"PEPE"_qs;
    b.quantity = dec("3.123456789");
    b.valueInUSD = dec("0");
    b.accountAlias = u"默认账户"_qs;

    const BalanceRowTexts listed = BalanceRowTexts::forList(b, usd);
    EXPECT_EQ(listed.account, u"默认账户 · 资金账户"_qs);
    EXPECT_EQ(listed.quantity, u"3.12345679"_qs);
    EXPECT_EQ(listed.value, u"暂无报价"_qs);
    const BalanceRowTexts onPage = BalanceRowTexts::forExchangePage(b, usd);
    EXPECT_EQ(onPage.account, u"资金账户"_qs);
    EXPECT_EQ(onPage.value, u"$0.00"_qs);

    b.quantity = dec("0");
    b.accountAlias.reset();
    EXPECT_EQ(BalanceRowTexts::forList(b, usd).value, u"$0.00"_qs);
    EXPECT_EQ(BalanceRowTexts::forList(b, usd).account, u"资金账户"_qs);
    EXPECT_EQ(BalanceRowTexts::forList(b, usd).quantity, u"0"_qs);
    b.valueInUSD = dec("12");
    EXPECT_EQ(BalanceRowTexts::forList(b, eurWithoutRates).value, u"—"_qs);
}

TEST(PositionSortTextsTest, MenuAndShortTextOfEveryMode)
{
    std::vector<QString> menu;
    std::vector<QString> labels;
    for (const PositionSortMode mode : allPositionSortModes) {
        menu.push_back(PositionSortTexts::menuText(mode));
        labels.push_back(PositionSortTexts::shortText(mode));
    }
    EXPECT_EQ(menu,
              (std::vector<QString>{u"默认顺序"_qs, u"价值：从高到低"_qs, u"价值：从低到高"_qs,
                                    u"盈亏：从高到低"_qs, u"盈亏：从低到高"_qs}));
    EXPECT_EQ(labels, (std::vector<QString>{u"排序"_qs, u"价值 ↓"_qs, u"价值 ↑"_qs, u"盈亏 ↓"_qs,
                                            u"盈亏 ↑"_qs}));
}
