#include "views/flows/CapitalFlowEntry.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

TEST(CapitalFlowEntryTest, OnlyPlainPositiveDecimalsAreAmounts)
{
    EXPECT_EQ(CapitalFlowEntry::parseAmount(QStringLiteral("12.5")), dec("12.5"));
    EXPECT_EQ(CapitalFlowEntry::parseAmount(QStringLiteral("0.000000000000000000001")),
              dec("0.000000000000000000001"));  // exact, no double on the way
    for (const char* text : {"0", "-5", "abc", "", "12,5", "12abc", " 12", "12 ", "1,000", "nan",
                             "inf", "0.00", "１２"}) {
        EXPECT_EQ(CapitalFlowEntry::parseAmount(QString::fromUtf8(text)), std::nullopt) << text;
    }
}

// Up to what the store records and its file reads back; only a number above that is explained.
TEST(CapitalFlowEntryTest, AmountsAboveTheLargestAreRefusedWithAReason)
{
    EXPECT_EQ(CapitalFlowEntry::parseAmount(QStringLiteral("1000000000000000")),
              dec("1000000000000000"));
    EXPECT_EQ(CapitalFlowEntry::parseAmount(QStringLiteral("1e-1000")), dec("1e-1000"));
    for (const char* text : {"1000000000000000.01", "1e400", "1e1000"}) {
        EXPECT_EQ(CapitalFlowEntry::parseAmount(QString::fromUtf8(text)), std::nullopt) << text;
        EXPECT_TRUE(CapitalFlowEntry::isTooLarge(QString::fromUtf8(text))) << text;
    }
    for (const char* text : {"1000000000000000", "12.5", "-1e400", "1e1001", "abc", ""}) {
        EXPECT_FALSE(CapitalFlowEntry::isTooLarge(QString::fromUtf8(text))) << text;
    }
}

TEST(CapitalFlowEntryTest, WithdrawalsAreRecordedNegative)
{
    EXPECT_EQ(CapitalFlowEntry::signedAmount(dec("12.5"), true), dec("12.5"));
    EXPECT_EQ(CapitalFlowEntry::signedAmount(dec("12.5"), false), dec("-12.5"));
}

TEST(CapitalFlowEntryTest, ListIsNewestFirstWithKindAndPlainMagnitude)
{
    const Date t{700'000'000};
    const std::vector<CapitalFlow> stored{{Uuid::random(), t, dec("1000")},
                                          {Uuid::random(), t.addingSeconds(60), dec("-250.50")},
                                          {Uuid::random(), t.addingSeconds(120), dec("0.1")}};
    const std::vector<CapitalFlow> listed = CapitalFlowEntry::newestFirst(stored);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0], stored[2]);
    EXPECT_EQ(listed[2], stored[0]);

    EXPECT_EQ(CapitalFlowEntry::amountText(stored[0]), QStringLiteral("充入 $1000"));
    EXPECT_EQ(CapitalFlowEntry::amountText(stored[1]), QStringLiteral("提出 $250.5"));
    EXPECT_EQ(CapitalFlowEntry::amountText({Uuid::random(), t, dec("1234567.125")}),
              QStringLiteral("充入 $1234567.125"));

    const QTimeZone utc(QByteArrayLiteral("UTC"));
    const Date at = Date::fromDateTime(QDateTime(QDate(2024, 3, 5), QTime(15, 7), utc));
    EXPECT_EQ(CapitalFlowEntry::dateText({Uuid::random(), at, dec("1")},
                                         QLocale(QStringLiteral("en_US")), utc),
              QStringLiteral("Mar 5 3:07 PM"));
}

}  // namespace
