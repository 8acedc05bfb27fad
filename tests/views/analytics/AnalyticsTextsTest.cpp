#include "views/analytics/AnalyticsTexts.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

class AnalyticsTextsTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
};

TEST_F(AnalyticsTextsTest, CompactAxisValues)
{
    struct Row {
        double value;
        DisplayCurrency currency;
        const char* text;
    };
    const Row rows[] = {
        {1500, DisplayCurrency::usd, "$1.5K"},          {2'500'000, DisplayCurrency::cny, "¥2.50M"},
        {999.6, DisplayCurrency::hkd, "HK$1000"},  // below 1000, so no K
        {-1500, DisplayCurrency::usd, "$-1.5K"},        {1000, DisplayCurrency::eur, "€1.0K"},
        {-1'000'000, DisplayCurrency::usdt, "₮-1.00M"}, {0, DisplayCurrency::usd, "$0"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(AnalyticsTexts::compactAxisValue(row.value, row.currency),
                  QString::fromUtf8(row.text))
            << row.value;
    }
}

TEST_F(AnalyticsTextsTest, ChangeCardTitleHasNoSpaceBeforeItsSuffix)
{
    EXPECT_EQ(AnalyticsTexts::changeCardTitle(AnalyticsRange::sevenDays, false),
              QStringLiteral("7 天变化"));
    EXPECT_EQ(AnalyticsTexts::changeCardTitle(AnalyticsRange::sevenDays, true),
              QStringLiteral("7 天净资产变化"));
}

TEST_F(AnalyticsTextsTest, TonesCountZeroAsGainAndNeedFreshData)
{
    EXPECT_EQ(AnalyticsTexts::tone(true, dec("-0.01")), ValueTone::loss);
    EXPECT_EQ(AnalyticsTexts::tone(true, dec("0")), ValueTone::gain);
    EXPECT_EQ(AnalyticsTexts::tone(true, std::nullopt), ValueTone::primary);
    EXPECT_EQ(AnalyticsTexts::tone(false, dec("5")), ValueTone::primary);
}

TEST_F(AnalyticsTextsTest, FiguresShowAPlaceholderWhenUnknown)
{
    const CurrencyRates none;
    const QString dash = QStringLiteral("—");
    EXPECT_EQ(AnalyticsTexts::changeText(true, dec("5"), std::nullopt, DisplayCurrency::usd, none),
              dash);  // first value 0: no percent
    EXPECT_EQ(AnalyticsTexts::changeText(false, dec("5"), dec("1"), DisplayCurrency::usd, none),
              dash);
    EXPECT_EQ(AnalyticsTexts::changeText(true, dec("5"), dec("1.234"), DisplayCurrency::usd, none),
              QStringLiteral("+$5.00  (+1.23%)"));
    EXPECT_EQ(AnalyticsTexts::extremumText(std::nullopt, DisplayCurrency::usd, none), dash);
    EXPECT_EQ(AnalyticsTexts::extremumText(dec("10"), DisplayCurrency::eur, none), dash);
    EXPECT_EQ(AnalyticsTexts::extremumText(dec("1234.5"), DisplayCurrency::usd, none),
              QStringLiteral("$1,234.50"));
    EXPECT_EQ(AnalyticsTexts::currentAssetsText(false, dec("10"), DisplayCurrency::usd, none),
              dash);
    EXPECT_EQ(AnalyticsTexts::currentAssetsText(true, dec("10"), DisplayCurrency::usd, none),
              QStringLiteral("$10.00"));
}

TEST_F(AnalyticsTextsTest, HeaderTexts)
{
    EXPECT_EQ(AnalyticsTexts::badgeText(dec("2.5")), QStringLiteral("较起点 +2.50%"));
    EXPECT_EQ(AnalyticsTexts::badgeText(dec("-0.004")), QStringLiteral("较起点 -0.00%"));
    EXPECT_EQ(AnalyticsTexts::badgeText(dec("0")), QStringLiteral("较起点 0.00%"));
    EXPECT_EQ(AnalyticsTexts::sampleCountText(0), QStringLiteral("0 个数据点"));
    EXPECT_EQ(AnalyticsTexts::emptyDescription(false),
              QStringLiteral("添加交易所后会自动开始统计。"));
    EXPECT_EQ(AnalyticsTexts::emptyDescription(true),
              QStringLiteral("尚未取得完整资产数据，请检查交易所连接状态。"));
}

TEST_F(AnalyticsTextsTest, DateLabelsByRange)
{
    const QTimeZone utc(QByteArrayLiteral("UTC"));
    const QLocale en(QStringLiteral("en_US"));
    const Date at = Date::fromDateTime(QDateTime(QDate(2024, 3, 5), QTime(15, 7), utc));
    EXPECT_EQ(AnalyticsTexts::axisLabel(at, AnalyticsRange::today, en, utc),
              QStringLiteral("3:07 PM"));
    EXPECT_EQ(AnalyticsTexts::axisLabel(at, AnalyticsRange::thirtyDays, en, utc),
              QStringLiteral("Mar 5"));
    EXPECT_EQ(AnalyticsTexts::selectionDateLabel(at, AnalyticsRange::twentyFourHours, en, utc),
              QStringLiteral("Mar 5 3:07 PM"));
    EXPECT_EQ(AnalyticsTexts::selectionDateLabel(at, AnalyticsRange::ninetyDays, en, utc),
              QStringLiteral("Mar 5 3 PM"));
    EXPECT_EQ(AnalyticsTexts::selectionValueText(1234.5, DisplayCurrency::usd),
              QStringLiteral("$1,234.50"));
}

}  // namespace
