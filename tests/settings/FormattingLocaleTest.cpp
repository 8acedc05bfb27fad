#include "settings/FormattingLocale.h"

#include "settings/CurrencyFormatter.h"
#include "settings/DateLabels.h"
#include "settings/TimeOfDayFormat.h"
#include "support/ScopedDefaultLocale.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(std::string_view(text));
}

struct Row {
    QLocale system;
    QString locale;
    QString money;
    QString quantity;
    QString time;
};

// The texts the program writes for one system locale.
struct Written {
    QString locale;
    QString money;
    QString quantity;
    QString time;
};

Written writtenUnder(const QLocale& system)
{
    const QLocale chosen = FormattingLocale::forSystem(system);
    test::ScopedDefaultLocale scoped(chosen.name());
    return {QLocale().name(), CurrencyFormatter::money(dec("75100"), DisplayCurrency::usd, false),
            CurrencyFormatter::formatter(std::nullopt, 4, false)->format(dec("1234.56785")),
            TimeOfDayFormat::text(QTime(13, 5, 9), QLocale())};
}

}  // namespace

TEST(FormattingLocaleTest, ALocalelessSystemWritesMoneyQuantitiesAndTimesTheUsWay)
{
    const std::vector<Row> rows{
        {QLocale(QLocale::C), u"en_US"_qs, u"$75,100.00"_qs, u"1,234.5679"_qs, u"1:05:09 PM"_qs},
        {QLocale(u"C"_qs), u"en_US"_qs, u"$75,100.00"_qs, u"1,234.5679"_qs, u"1:05:09 PM"_qs},
        {QLocale(u"POSIX"_qs), u"en_US"_qs, u"$75,100.00"_qs, u"1,234.5679"_qs, u"1:05:09 PM"_qs},
        {QLocale(u"C.UTF-8"_qs), u"en_US"_qs, u"$75,100.00"_qs, u"1,234.5679"_qs, u"1:05:09 PM"_qs},
    };
    for (const Row& row : rows) {
        const Written written = writtenUnder(row.system);
        EXPECT_EQ(written.locale, row.locale) << row.system.name().toStdString();
        EXPECT_EQ(written.money, row.money);
        EXPECT_EQ(written.quantity, row.quantity);
        EXPECT_EQ(written.time.simplified(), row.time);
    }
}

TEST(FormattingLocaleTest, EveryOtherLocaleKeepsItsOwnConventions)
{
    const std::vector<Row> rows{
        {QLocale(u"en_US"_qs), u"en_US"_qs, u"$75,100.00"_qs, u"1,234.5679"_qs, u"1:05:09 PM"_qs},
        {QLocale(u"zh_CN"_qs), u"zh_CN"_qs, u"US$75,100.00"_qs, u"1,234.5679"_qs, u"13:05:09"_qs},
        {QLocale(u"de_DE"_qs), u"de_DE"_qs, u"75.100,00\u00a0$"_qs, u"1.234,5679"_qs,
         u"13:05:09"_qs},
    };
    for (const Row& row : rows) {
        const Written written = writtenUnder(row.system);
        EXPECT_EQ(written.locale, row.locale);
        EXPECT_EQ(written.money, row.money) << row.locale.toStdString();
        EXPECT_EQ(written.quantity, row.quantity) << row.locale.toStdString();
        EXPECT_EQ(written.time, row.time) << row.locale.toStdString();
    }
}

TEST(FormattingLocaleTest, ALocalelessSystemWritesMonthsByName)
{
    test::ScopedDefaultLocale scoped(FormattingLocale::forSystem(QLocale(QLocale::C)).name());
    const Date date = Date::fromDateTime(QDateTime(QDate(2026, 3, 9), QTime(8, 0), Qt::UTC));
    EXPECT_EQ(DateLabels::monthDay(date, QLocale(), QTimeZone::utc()), u"Mar 9"_qs);
}
