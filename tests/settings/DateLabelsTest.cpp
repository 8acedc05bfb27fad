#include "settings/DateLabels.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

const QTimeZone utc(QByteArrayLiteral("UTC"));
// 2024-03-05 15:07:30 UTC.
const Date sample = Date::fromDateTime(QDateTime(QDate(2024, 3, 5), QTime(15, 7, 30), utc));

TEST(DateLabelsTest, PatternsKeepOnlyTheWantedFields)
{
    const QLocale en(QStringLiteral("en_US"));
    const QLocale zh(QStringLiteral("zh_CN"));
    const QLocale de(QStringLiteral("de_DE"));

    EXPECT_EQ(DateLabels::monthDay(sample, en, utc), QStringLiteral("Mar 5"));
    EXPECT_EQ(DateLabels::hourMinute(sample, en, utc), QStringLiteral("3:07 PM"));
    EXPECT_EQ(DateLabels::monthDayHour(sample, en, utc), QStringLiteral("Mar 5 3 PM"));

    EXPECT_EQ(DateLabels::monthDay(sample, zh, utc), QStringLiteral("3月5日"));
    EXPECT_EQ(DateLabels::monthDayHourMinute(sample, zh, utc).left(5), QStringLiteral("3月5日 "));

    EXPECT_EQ(DateLabels::monthDayFormat(de), QStringLiteral("d. MMM"));
    EXPECT_EQ(DateLabels::hourMinute(sample, de, utc), QStringLiteral("15:07"));
    EXPECT_EQ(DateLabels::hourFormat(de), QStringLiteral("HH"));
}

TEST(DateLabelsTest, TimesAreShownInTheGivenZone)
{
    const QLocale en(QStringLiteral("en_US"));
    const QTimeZone tokyo(QByteArrayLiteral("Asia/Tokyo"));
    EXPECT_EQ(DateLabels::monthDayHourMinute(sample, en, tokyo), QStringLiteral("Mar 6 12:07 AM"));
}

}  // namespace
