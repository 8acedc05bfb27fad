#include "services/VersionNumber.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

struct ComparisonRow {
    const char* left;
    const char* right;
    std::strong_ordering expected;
};

// Numbers compare as numbers, never as text; missing trailing numbers are 0.
TEST(VersionNumberTest, ComparesNumberByNumber)
{
    const ComparisonRow rows[] = {
        {"1.10", "1.9", std::strong_ordering::greater},
        {"1.9", "1.10", std::strong_ordering::less},
        {"1.2", "1.2.0", std::strong_ordering::equal},
        {"1.2.0.0", "1.2", std::strong_ordering::equal},
        {"2", "1.9.9", std::strong_ordering::greater},
        {"1.2.1", "1.2", std::strong_ordering::greater},
        {"01.002", "1.2", std::strong_ordering::equal},
        {"0.1.0", "0.1.0", std::strong_ordering::equal},
        {"0.0.0", "0", std::strong_ordering::equal},
        // Far beyond any integer type, still exact.
        {"99999999999999999999999.1", "99999999999999999999998.9", std::strong_ordering::greater},
        {"10000000000000000000000", "9999999999999999999999", std::strong_ordering::greater},
    };
    for (const ComparisonRow& row : rows) {
        const auto left = VersionNumber::parse(QString::fromLatin1(row.left));
        const auto right = VersionNumber::parse(QString::fromLatin1(row.right));
        ASSERT_TRUE(left && right) << row.left << " / " << row.right;
        EXPECT_TRUE((*left <=> *right) == row.expected) << row.left << " vs " << row.right;
        EXPECT_EQ(*left == *right, row.expected == std::strong_ordering::equal) << row.left;
    }
}

TEST(VersionNumberTest, RefusesAnythingButDigitsAndSingleDots)
{
    const char* const invalid[] = {
        "",
        ".",
        "1.",
        ".1",
        "1..2",
        "v1.2",
        "1.2-beta",
        "1.2 ",
        " 1.2",
        "1,2",
        "+1",
        "-1",
        "1.2.3.4.5.6.7.8.9.10.11.12.13.14.1",  // 33 characters
        "١.٢",                                 // digits, but not ASCII ones
    };
    for (const char* text : invalid) {
        EXPECT_FALSE(VersionNumber::parse(QString::fromUtf8(text))) << text;
    }
    EXPECT_TRUE(VersionNumber::parse(QString(32, u'9')));
    EXPECT_FALSE(VersionNumber::parse(QString(33, u'9')));
}

}  // namespace
