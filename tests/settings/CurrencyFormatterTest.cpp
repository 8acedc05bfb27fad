#include "settings/CurrencyFormatter.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace vantrell;

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(std::string_view(text));
}

class CurrencyFormatterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = QLocale();
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    }
    void TearDown() override { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

}  // namespace

TEST_F(CurrencyFormatterTest, MoneyRoundsInDecimalBeforeFormatting)
{
    struct Case {
        const char* amount;
        DisplayCurrency currency;
        bool whole;
        QString expected;
    };
    const QString minus = QLocale().negativeSign();
    const std::vector<Case> cases{
        {"1234.5", DisplayCurrency::usd, false, QStringLiteral("$1,234.50")},
        {"1234.5", DisplayCurrency::usdt, false, QStringLiteral("USDT 1,234.50")},
        {"1234.5", DisplayCurrency::usdt, true, QStringLiteral("USDT 1,234")},
        {"1234.99", DisplayCurrency::usd, true, QStringLiteral("$1,234")},
        {"-1234.01", DisplayCurrency::usdt, true, QStringLiteral("USDT ") + minus + "1,235"},
        {"-1234.01", DisplayCurrency::usd, true, minus + QStringLiteral("$1,235")},
        {"-0.5", DisplayCurrency::usd, false, minus + QStringLiteral("$0.50")},
        {"0.005", DisplayCurrency::usd, false, QStringLiteral("$0.01")},
        {"0.004", DisplayCurrency::usd, false, QStringLiteral("$0.00")},
        {"-0.004", DisplayCurrency::usd, false, QStringLiteral("$0.00")},
        {"1.005", DisplayCurrency::usd, false, QStringLiteral("$1.01")},
        {"0", DisplayCurrency::usdt, false, QStringLiteral("USDT 0.00")},
        {"12345678901234567.89", DisplayCurrency::usd, false,
         QStringLiteral("$12,345,678,901,234,567.89")},
        {"7", DisplayCurrency::eur, false, QStringLiteral("€7.00")},
        {"7", DisplayCurrency::cny, false, QStringLiteral("CN¥7.00")},
        {"7", DisplayCurrency::hkd, false, QStringLiteral("HK$7.00")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CurrencyFormatter::money(dec(c.amount), c.currency, c.whole), c.expected)
            << c.amount;
    }
}

TEST_F(CurrencyFormatterTest, QuantitiesShowNoTrailingZeros)
{
    const auto quantity = CurrencyFormatter::formatter(std::nullopt, 8, false);
    EXPECT_EQ(quantity->format(dec("0.5")), QStringLiteral("0.5"));
    EXPECT_EQ(quantity->format(dec("1234.123456785")), QStringLiteral("1,234.12345679"));
    EXPECT_EQ(quantity->format(dec("-0.000000001")), QStringLiteral("0"));
}

TEST_F(CurrencyFormatterTest, FollowsTheCurrentLocale)
{
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(CurrencyFormatter::money(dec("1234.5"), DisplayCurrency::usdt, false),
              QStringLiteral("USDT 1.234,50"));
    EXPECT_EQ(CurrencyFormatter::money(dec("1234.5"), DisplayCurrency::eur, false),
              QLocale().toCurrencyString(1234.5, QLocale().currencySymbol(), 2));
    EXPECT_EQ(CurrencyFormatter::money(dec("-1234.5"), DisplayCurrency::eur, false),
              QLocale().negativeSign() + QLocale().toCurrencyString(1234.5));
    // Another currency's dollar sign would be ambiguous where the local currency is a dollar.
    QLocale::setDefault(QLocale(QStringLiteral("en_AU")));
    EXPECT_EQ(CurrencyFormatter::money(dec("7"), DisplayCurrency::usd, false),
              QStringLiteral("US$7.00"));
}

TEST_F(CurrencyFormatterTest, ChineseNamesTheCountryOfEveryForeignDollar)
{
    QLocale::setDefault(QLocale(QStringLiteral("zh_CN")));
    EXPECT_EQ(CurrencyFormatter::money(dec("75100"), DisplayCurrency::usd, false),
              QStringLiteral("US$75,100.00"));
    EXPECT_EQ(CurrencyFormatter::money(dec("7"), DisplayCurrency::hkd, false),
              QStringLiteral("HK$7.00"));
    EXPECT_EQ(CurrencyFormatter::money(dec("7"), DisplayCurrency::cny, false),
              QLocale().currencySymbol() + QStringLiteral("7.00"));  // the local currency
    EXPECT_EQ(CurrencyFormatter::money(dec("7"), DisplayCurrency::eur, false),
              QStringLiteral("€7.00"));
}

TEST_F(CurrencyFormatterTest, CacheIsEmptiedWhenTheThirtyThirdFormatterIsNeeded)
{
    // Other tests may have filled the cache; add distinct keys until it has just been emptied.
    int digits = 20;
    do {
        CurrencyFormatter::formatter(std::nullopt, digits++, true);
    } while (CurrencyFormatter::cachedFormatterCount() != 1);

    const auto first = CurrencyFormatter::formatter(std::nullopt, digits - 1, true);
    for (int i = 0; i < 31; ++i) {
        CurrencyFormatter::formatter(std::nullopt, digits++, true);
    }
    EXPECT_EQ(CurrencyFormatter::cachedFormatterCount(), 32);
    // A held key is served from the cache without emptying it.
    EXPECT_EQ(CurrencyFormatter::formatter(std::nullopt, digits - 32, true), first);
    EXPECT_EQ(CurrencyFormatter::cachedFormatterCount(), 32);

    CurrencyFormatter::formatter(DisplayCurrency::usd, digits, false);
    EXPECT_EQ(CurrencyFormatter::cachedFormatterCount(), 1);
    EXPECT_NE(CurrencyFormatter::formatter(std::nullopt, digits - 32, true), first);
}
