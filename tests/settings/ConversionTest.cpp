#include "settings/CurrencyConversion.h"
#include "settings/CurrencyFormatter.h"
#include "settings/PositionSorting.h"

#include <gtest/gtest.h>
#include <QLocale>

#include <clocale>
#include <optional>
#include <string>
#include <vector>

using namespace vantrell;

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(std::string_view(text));
}

// USD 1.25 and CNY 8 per euro: one dollar is 0.8 euro and 6.4 yuan.
CurrencyRates sampleRates()
{
    return {{QStringLiteral("EUR"), dec("1")},
            {QStringLiteral("USD"), dec("1.25")},
            {QStringLiteral("CNY"), dec("8")},
            {QStringLiteral("HKD"), dec("9.75")}};
}

// Sets the default QLocale and, where the system has it, the C library's locale for the
// duration of a test, so locale-dependent formatting would show up.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name)
        : m_previousLocale(QLocale()), m_previousC(std::setlocale(LC_ALL, nullptr))
    {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        std::setlocale(LC_ALL, (std::string(name) + ".UTF-8").c_str());
    }
    ~ScopedLocale()
    {
        QLocale::setDefault(m_previousLocale);
        std::setlocale(LC_ALL, m_previousC.c_str());
    }

private:
    QLocale m_previousLocale;
    std::string m_previousC;
};

}  // namespace

TEST(CurrencyConversionTest, ConvertsThroughEuroRates)
{
    struct Row {
        DisplayCurrency currency;
        CurrencyRates rates;
        std::optional<Decimal> expected;
    };
    const CurrencyRates noUsd{{QStringLiteral("CNY"), dec("8")}};
    const CurrencyRates zeroUsd{{QStringLiteral("USD"), dec("0")},
                                {QStringLiteral("CNY"), dec("8")}};
    const CurrencyRates zeroCny{{QStringLiteral("USD"), dec("1.25")},
                                {QStringLiteral("CNY"), dec("0")}};
    const std::vector<Row> rows = {
        {DisplayCurrency::usd, {}, dec("100")},
        {DisplayCurrency::usdt, {}, dec("100")},
        {DisplayCurrency::cny, sampleRates(), dec("640")},
        {DisplayCurrency::eur, sampleRates(), dec("80")},
        {DisplayCurrency::hkd, sampleRates(), dec("780")},
        {DisplayCurrency::hkd, {}, std::nullopt},
        {DisplayCurrency::eur, noUsd, std::nullopt},
        {DisplayCurrency::cny, zeroUsd, std::nullopt},
        {DisplayCurrency::cny, zeroCny, std::nullopt},
        {DisplayCurrency::hkd, noUsd, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(toStored(row.currency).toStdString());
        EXPECT_EQ(CurrencyConversion::convert(dec("100"), row.currency, row.rates), row.expected);
    }
}

TEST(CurrencyConversionTest, MultipliesBeforeDividing)
{
    // 1/3 rounded first would give 0.99999... instead of exactly 1.
    const CurrencyRates rates{{QStringLiteral("USD"), dec("3")}, {QStringLiteral("CNY"), dec("3")}};
    EXPECT_EQ(CurrencyConversion::convert(dec("1"), DisplayCurrency::cny, rates), dec("1"));
}

TEST(CurrencyConversionTest, PerformanceSummaryTexts)
{
    ScopedLocale locale("en_US");
    const QString dash = QStringLiteral("—");
    auto money = [](const char* amount, DisplayCurrency currency) {
        return CurrencyFormatter::money(dec(amount), currency, false);
    };
    struct Row {
        const char* pnl;
        const char* percent;
        DisplayCurrency currency;
        CurrencyRates rates;
        QString expected;
    };
    const std::vector<Row> rows = {
        {"12.5",
         "1.5",
         DisplayCurrency::usd,
         {},
         "+" + money("12.5", DisplayCurrency::usd) + "  (+1.50%)"},
        {"-12.5",
         "-1.5",
         DisplayCurrency::usd,
         {},
         money("-12.5", DisplayCurrency::usd) + "  (-1.50%)"},
        {"0", "0", DisplayCurrency::usdt, {}, money("0", DisplayCurrency::usdt) + "  (0.00%)"},
        {"100", "0.004", DisplayCurrency::cny, sampleRates(),
         "+" + money("640", DisplayCurrency::cny) + "  (+0.00%)"},
        {"-1",
         "-0.004",
         DisplayCurrency::usd,
         {},
         money("-1", DisplayCurrency::usd) + "  (-0.00%)"},
        // No rates: the amount cannot be converted, yet the sign still follows the profit.
        {"5", "1.5", DisplayCurrency::hkd, {}, "+" + dash + "  (+1.50%)"},
        {"-5", "2.346", DisplayCurrency::hkd, {}, dash + "  (+2.35%)"},
        {"0.001",
         "1234.5",
         DisplayCurrency::usd,
         {},
         "+" + money("0.001", DisplayCurrency::usd) + "  (+1234.50%)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.pnl) + " / " + row.percent);
        EXPECT_EQ(CurrencyConversion::performanceSummary(dec(row.pnl), dec(row.percent),
                                                         row.currency, row.rates),
                  row.expected);
    }
}

TEST(CurrencyConversionTest, PercentIgnoresACommaLocale)
{
    // The C locale is German too where the system has it; the Qt locale always is.
    ScopedLocale locale("de_DE");
    EXPECT_EQ(CurrencyConversion::twoDecimals(1234.5), QStringLiteral("1234.50"));
    EXPECT_EQ(CurrencyConversion::twoDecimals(-0.004), QStringLiteral("-0.00"));
    const QString summary =
        CurrencyConversion::performanceSummary(dec("-5"), dec("-7.126"), DisplayCurrency::hkd, {});
    EXPECT_EQ(summary, QStringLiteral("—  (-7.13%)"));
}

namespace {

Position position(const char* symbol, const char* quantity, const char* mark, const char* pnl,
                  std::optional<const char*> notional = std::nullopt)
{
    Position p;
    p.symbol = QString::fromLatin1(symbol);
    p.quantity = dec(quantity);
    p.markPrice = dec(mark);
    p.unrealizedPnL = dec(pnl);
    if (notional) {
        p.notionalValueUSD = dec(*notional);
    }
    return p;
}

QStringList symbols(const std::vector<Position>& positions)
{
    QStringList result;
    for (const Position& p : positions) {
        result << p.symbol;
    }
    return result;
}

}  // namespace

TEST(PositionSortingTest, EveryModeIsStable)
{
    // Values: A 100, B 50 (short, no notional: |-5 × 10|), C 100 (notional -100), D 50 (zero
    // notional falls back to quantity × mark), E 200.
    const std::vector<Position> input = {
        position("A", "1", "100", "5"),       position("B", "-5", "10", "-20"),
        position("C", "3", "1", "5", "-100"), position("D", "5", "10", "-20", "0"),
        position("E", "2", "100", "30"),
    };
    struct Row {
        PositionSortMode mode;
        QStringList expected;
    };
    const std::vector<Row> rows = {
        {PositionSortMode::defaultOrder, {"A", "B", "C", "D", "E"}},
        {PositionSortMode::valueDescending, {"E", "A", "C", "B", "D"}},
        {PositionSortMode::valueAscending, {"B", "D", "A", "C", "E"}},
        {PositionSortMode::pnlDescending, {"E", "A", "C", "B", "D"}},
        {PositionSortMode::pnlAscending, {"B", "D", "A", "C", "E"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(toStored(row.mode).toStdString());
        EXPECT_EQ(symbols(PositionSorting::sorted(input, row.mode)), row.expected);
    }
}
