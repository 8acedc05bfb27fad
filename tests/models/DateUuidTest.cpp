#include "models/Clock.h"
#include "models/Date.h"
#include "models/Uuid.h"

#include <gtest/gtest.h>
#include <QTimeZone>

namespace vantrell {
namespace {

TEST(DateTest, ConvertsToAndFromUtcDateTime)
{
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    EXPECT_EQ(Date::fromDateTime(reference).secondsSinceReferenceDate, 0.0);

    const QDateTime moment(QDate(2024, 3, 5), QTime(12, 34, 56, 789), QTimeZone::utc());
    const Date date = Date::fromDateTime(moment);
    EXPECT_DOUBLE_EQ(date.unixSeconds(), 1709642096.789);
    EXPECT_EQ(date.toDateTime(), moment);
    EXPECT_EQ(date.toDateTime().timeSpec(), Qt::UTC);

    // Local times name the same instant.
    EXPECT_EQ(Date::fromDateTime(moment.toLocalTime()), date);
}

TEST(DateTest, RoundsToTheNearestMillisecondAndKeepsTheFraction)
{
    const Date date{123.4567};
    EXPECT_EQ(date.toDateTime().toMSecsSinceEpoch(), 978307323457);
    EXPECT_EQ(date.secondsSinceReferenceDate, 123.4567);
    EXPECT_EQ(Date{-0.0004}.toDateTime().toMSecsSinceEpoch(), 978307200000);
}

TEST(DateTest, NonFiniteSecondsGiveNoDateTime)
{
    EXPECT_FALSE(Date{std::numeric_limits<double>::infinity()}.toDateTime().isValid());
    EXPECT_FALSE(Date{std::numeric_limits<double>::quiet_NaN()}.toDateTime().isValid());
}

TEST(ClockTest, SystemClockFollowsTheWallClock)
{
    const Date before = Date::fromDateTime(QDateTime::currentDateTimeUtc());
    const Date now = Clock::system().now();
    EXPECT_GE(now.secondsSince(before), -0.002);
    EXPECT_LT(now.secondsSince(before), 5.0);
}

TEST(UuidTest, RandomUuidsAreUpperCaseAndRoundTrip)
{
    const Uuid first = Uuid::random();
    const QString text = first.toString();
    EXPECT_EQ(text.size(), 36);
    EXPECT_EQ(text, text.toUpper());
    EXPECT_EQ(Uuid::fromString(text), first);
    EXPECT_NE(Uuid::random(), first);
}

TEST(UuidTest, AcceptsEitherCaseInTheGroupedLayout)
{
    const auto lower = Uuid::fromString(QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e"));
    ASSERT_TRUE(lower.has_value());
    EXPECT_EQ(lower->toString(), QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E"));
    EXPECT_EQ(Uuid::fromString(QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E")), lower);
    const auto nil = Uuid::fromString(QStringLiteral("00000000-0000-0000-0000-000000000000"));
    ASSERT_TRUE(nil.has_value());
    EXPECT_TRUE(nil->value().isNull());
}

TEST(UuidTest, RejectsAnythingElse)
{
    for (const char* text :
         {"", "garbage", "{0f8fad5b-d9cb-469f-a165-70867728950e}",
          "0f8fad5bd9cb469fa16570867728950e", "0f8fad5b-d9cb-469f-a165-70867728950",
          "0f8fad5b-d9cb-469f-a165-70867728950e0", "0f8fad5b-d9cb-469f-a165_70867728950e",
          "0f8fad5b-d9cb-469f-a165-70867728950g", " f8fad5b-d9cb-469f-a165-70867728950e",
          "0f8fad5-bd9cb-469f-a165-70867728950e"}) {
        EXPECT_FALSE(Uuid::fromString(QString::fromLatin1(text)).has_value()) << text;
    }
}

}  // namespace
}  // namespace vantrell
