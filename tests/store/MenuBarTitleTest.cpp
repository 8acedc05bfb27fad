#include "store/MenuBarTitle.h"

#include "platform/MemoryDefaultsStore.h"
#include "settings/Preferences.h"
#include "support/FakeHttpTransport.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

#include <memory>
#include <vector>

using namespace vantrell;

namespace {

const QString dash = QStringLiteral("—");

Decimal dec(const char* text)
{
    return *Decimal::parse(std::string_view(text));
}

class MenuBarTitleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousLocale = QLocale();
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        transport.fail("GET", QStringLiteral("/stats/eurofxref/eurofxref-daily.xml"));
        // 7 CNY per dollar; no HKD rate.
        writePreference(defaults, preferences::currencyRates,
                        CurrencyRates{{QStringLiteral("EUR"), 1},
                                      {QStringLiteral("USD"), dec("1.25")},
                                      {QStringLiteral("CNY"), dec("8.75")}});
        settings = std::make_unique<AppSettings>(defaults, transport, clock);
        QCoreApplication::processEvents();  // lets the start-up download fail
        snapshot.totalValue = dec("12345.67");
        // Only the first account of an exchange counts.
        snapshot.exchanges = {{Exchange::okx, dec("2344.68"), std::nullopt, {}},
                              {Exchange::binance, dec("10000.99"), std::nullopt, {}},
                              {Exchange::okx, dec("1"), std::nullopt, {}}};
        snapshot.isLive = true;
    }
    void TearDown() override { QLocale::setDefault(m_previousLocale); }

    std::optional<QString> title(MenuBarDisplayMode mode, std::optional<Decimal> percent = {})
    {
        return menuBarTitle(snapshot, percent, mode, *settings);
    }

    MemoryDefaultsStore defaults;
    FakeHttpTransport transport;
    ManualClock clock;
    std::unique_ptr<AppSettings> settings;
    PortfolioSnapshot snapshot;

private:
    QLocale m_previousLocale;
};

}  // namespace

TEST_F(MenuBarTitleTest, EveryModeShowsItsWholeAmount)
{
    struct Row {
        MenuBarDisplayMode mode;
        std::optional<QString> live;
        std::optional<QString> notLive;  // exchange totals are shown from cached data too
    };
    const std::vector<Row> rows{
        {MenuBarDisplayMode::total, QStringLiteral("$12,345"), dash},
        {MenuBarDisplayMode::binance, QStringLiteral("$10,000"), QStringLiteral("$10,000")},
        {MenuBarDisplayMode::okx, QStringLiteral("$2,344"), QStringLiteral("$2,344")},
        {MenuBarDisplayMode::bybit, dash, dash},
        {MenuBarDisplayMode::bitget, dash, dash},
        {MenuBarDisplayMode::gateio, dash, dash},
        {MenuBarDisplayMode::totalWithChange, QStringLiteral("$12,345"), dash},
        {MenuBarDisplayMode::iconOnly, std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        snapshot.isLive = true;
        EXPECT_EQ(title(row.mode), row.live) << toStored(row.mode).toStdString();
        snapshot.isLive = false;
        EXPECT_EQ(title(row.mode), row.notLive) << toStored(row.mode).toStdString();
    }
}

TEST_F(MenuBarTitleTest, TotalWithChangeAddsTheSignedPercentWithTwoDecimals)
{
    const std::vector<std::pair<const char*, QString>> rows{
        {"1.234", QStringLiteral("$12,345 +1.23%")},  {"-0.5", QStringLiteral("$12,345 -0.50%")},
        {"0", QStringLiteral("$12,345 0.00%")},       {"0.001", QStringLiteral("$12,345 +0.00%")},
        {"-0.001", QStringLiteral("$12,345 -0.00%")},
    };
    for (const auto& [percent, expected] : rows) {
        EXPECT_EQ(title(MenuBarDisplayMode::totalWithChange, dec(percent)), expected) << percent;
    }
    // The money follows the user's locale, the percent never does.
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    const QString german = title(MenuBarDisplayMode::totalWithChange, dec("-1.5")).value_or("");
    EXPECT_TRUE(german.startsWith(u"12.345") && german.endsWith(u" -1.50%"))
        << german.toStdString();
}

TEST_F(MenuBarTitleTest, AmountsAreConvertedAndADashStandsInForAMissingRate)
{
    settings->setDisplayCurrency(DisplayCurrency::cny);
    EXPECT_EQ(title(MenuBarDisplayMode::total), QStringLiteral("CN¥86,419"));
    EXPECT_EQ(title(MenuBarDisplayMode::binance), QStringLiteral("CN¥70,006"));
    settings->setDisplayCurrency(DisplayCurrency::eur);
    EXPECT_EQ(title(MenuBarDisplayMode::total), QStringLiteral("€9,876"));
    settings->setDisplayCurrency(DisplayCurrency::usdt);
    EXPECT_EQ(title(MenuBarDisplayMode::total), QStringLiteral("USDT 12,345"));

    settings->setDisplayCurrency(DisplayCurrency::hkd);
    EXPECT_EQ(title(MenuBarDisplayMode::total), dash);
    EXPECT_EQ(title(MenuBarDisplayMode::binance), dash);
    EXPECT_EQ(title(MenuBarDisplayMode::totalWithChange, dec("1.234")), dash + u" +1.23%");
}
