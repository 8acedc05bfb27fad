#include "models/Decimal.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace vantrell {
namespace {

Decimal dec(std::string_view text)
{
    const auto value = Decimal::parse(text);
    EXPECT_TRUE(value.has_value()) << text;
    return value.value_or(Decimal());
}

struct TextCase {
    std::string input;
    std::string plain;
};

class DecimalPlainTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DecimalPlainTextTest, ParsesAndPrintsPlainDigits)
{
    const auto [input, plain] = GetParam();
    const auto value = Decimal::parse(std::string_view(input));
    ASSERT_TRUE(value.has_value()) << input;
    EXPECT_EQ(value->toString(), plain) << input;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalPlainTextTest,
    ::testing::Values(TextCase{"0", "0"}, TextCase{"-0", "0"}, TextCase{"-0.0", "0"},
                      TextCase{"+0e5", "0"}, TextCase{"1.50", "1.5"}, TextCase{"1.0", "1"},
                      TextCase{"5.", "5"}, TextCase{".5", "0.5"}, TextCase{"-.5", "-0.5"},
                      TextCase{"007.2500", "7.25"}, TextCase{"1e-20", "0.00000000000000000001"},
                      TextCase{"1E+3", "1000"}, TextCase{"12.5e-1", "1.25"},
                      TextCase{"-0.000123", "-0.000123"}, TextCase{"123.456e2", "12345.6"},
                      TextCase{"100e-2", "1"}, TextCase{"0.1e1", "1"},
                      TextCase{"123456789012345678901234567890.12345678",
                               "123456789012345678901234567890.12345678"},
                      TextCase{"-98765432109876543210.987654321098765432",
                               "-98765432109876543210.987654321098765432"},
                      TextCase{"1234567890123456789012345678901234567890.12345678901234567890",
                               "1234567890123456789012345678901234567890.1234567890123456789"},
                      TextCase{"0.00000000000000000000000000000000000001234",
                               "0.00000000000000000000000000000000000001234"},
                      TextCase{"1e1000", "1" + std::string(1000, '0')},
                      // Digits whose running 64-bit value wraps to zero (multiples of 2^64).
                      TextCase{"18446744073709551616", "18446744073709551616"},
                      TextCase{"1.8446744073709551616", "1.8446744073709551616"},
                      TextCase{"36893488147419103232", "36893488147419103232"},
                      TextCase{"-000.00036893488147419103232", "-0.00036893488147419103232"},
                      TextCase{"18446744073709551616e-3", "18446744073709551.616"},
                      TextCase{"0e99999999999999999999999", "0"}));

// Blanks, grouping, prefixes, non-finite words, non-ASCII digits and absurd exponents.
constexpr std::string_view notNumbers[] = {
    "",      ".",   "-",   "+",     "-.",    "e5",     ".e5",     "1e",      "1e+",  "1.2.3",
    "12abc", "abc", " 1",  "1 ",    "1,000", "1_000",  "0x10",    "inf",     "-inf", "nan",
    "NaN",   "--1", "+-1", "1e5.5", "1ee5",  "1e1001", "1e-1001", "\xd9\xa1"};

TEST(DecimalParseTest, RejectsEverythingButTheStrictForm)
{
    for (const std::string_view text : notNumbers) {
        EXPECT_FALSE(Decimal::parse(text).has_value()) << text;
    }
    EXPECT_FALSE(Decimal::parse(QStringLiteral("１")).has_value());
    EXPECT_FALSE(Decimal::parse(QStringLiteral("0.1e-1000")).has_value());
    EXPECT_FALSE(Decimal::parse(QStringLiteral("1e99999999999999999999")).has_value());
    EXPECT_TRUE(Decimal::parse(QStringLiteral("1e-1000")).has_value());
    EXPECT_TRUE(Decimal::parse(QStringLiteral("99e999")).has_value());
}

TEST(DecimalParseTest, AmountOrZeroTreatsAbsentAndBadTextAsZero)
{
    EXPECT_EQ(Decimal::amountOrZero(std::nullopt), Decimal(0));
    EXPECT_EQ(Decimal::amountOrZero(QStringLiteral("")), Decimal(0));
    EXPECT_EQ(Decimal::amountOrZero(QStringLiteral("x")), Decimal(0));
    EXPECT_EQ(Decimal::amountOrZero(QStringLiteral("-2.5")).toString(), "-2.5");
}

struct RoundCase {
    const char* input;
    int places;
    Decimal::Rounding rounding;
    const char* expected;
};

class DecimalRoundingTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(DecimalRoundingTest, RoundsInDecimal)
{
    const auto& c = GetParam();
    EXPECT_EQ(dec(c.input).rounded(c.places, c.rounding).toString(), c.expected)
        << c.input << " at " << c.places;
}

constexpr auto halfUp = Decimal::Rounding::halfAwayFromZero;
constexpr auto down = Decimal::Rounding::down;

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalRoundingTest,
    ::testing::Values(RoundCase{"1.005", 2, halfUp, "1.01"}, RoundCase{"0.005", 2, halfUp, "0.01"},
                      RoundCase{"-0.005", 2, halfUp, "-0.01"}, RoundCase{"0.004", 2, halfUp, "0"},
                      RoundCase{"-0.004", 2, halfUp, "0"}, RoundCase{"2.5", 0, halfUp, "3"},
                      RoundCase{"-2.5", 0, halfUp, "-3"}, RoundCase{"0.05", 0, halfUp, "0"},
                      RoundCase{"9.995", 2, halfUp, "10"}, RoundCase{"99.5", 0, halfUp, "100"},
                      RoundCase{"1.2", 5, halfUp, "1.2"}, RoundCase{"0", 2, halfUp, "0"},
                      RoundCase{"1234.99", 0, down, "1234"},
                      RoundCase{"-1234.01", 0, down, "-1235"},
                      RoundCase{"-0.001", 2, down, "-0.01"}, RoundCase{"0.009", 2, down, "0"},
                      RoundCase{"1e-30", 20, down, "0"},
                      RoundCase{"-1e-30", 20, down, "-0.00000000000000000001"},
                      RoundCase{"0.123456789012345678915", 20, halfUp, "0.12345678901234567892"}));

TEST(DecimalArithmeticTest, AddSubtractMultiplyAreExact)
{
    EXPECT_EQ((dec("0.1") + dec("0.2")).toString(), "0.3");
    EXPECT_EQ((dec("1") - dec("1.0000000000000000000000000000000000001")).toString(),
              "-0.0000000000000000000000000000000000001");
    EXPECT_EQ((dec("123456789012345678901234567890.12345678") * dec("10")).toString(),
              "1234567890123456789012345678901.2345678");
    EXPECT_EQ((dec("1.5") * dec("-2")).toString(), "-3");
    EXPECT_EQ((dec("-1") * Decimal(0)).toString(), "0");
    EXPECT_EQ((dec("0.5") - dec("0.5")).toString(), "0");
    EXPECT_EQ((dec("99999999999999999999") * dec("99999999999999999999")).toString(),
              "9999999999999999999800000000000000000001");
}

TEST(DecimalArithmeticTest, DivisionRoundsToThirtyEightSignificantDigits)
{
    EXPECT_EQ((Decimal(1) / Decimal(3)).toString(), "0." + std::string(38, '3'));
    EXPECT_EQ((Decimal(2) / Decimal(3)).toString(), "0." + std::string(37, '6') + "7");
    EXPECT_EQ((Decimal(-2) / Decimal(3)).toString(), "-0." + std::string(37, '6') + "7");
    EXPECT_EQ((Decimal(10) / Decimal(4)).toString(), "2.5");
    EXPECT_EQ((dec("1e-8") / dec("4")).toString(), "0.0000000025");
    EXPECT_EQ((dec("100") / dec("0.01")).toString(), "10000");
    EXPECT_EQ((Decimal(200) / Decimal(3)).toString(), "66." + std::string(35, '6') + "7");
    // A tie in the 39th digit rounds away from zero.
    EXPECT_EQ((dec("1.0000000000000000000000000000000000001") / Decimal(2)).toString(),
              "0.50000000000000000000000000000000000005");
    // Dividends longer than 38 digits are rounded too, even by 1.
    EXPECT_EQ((dec("1.00000000000000000000000000000000000005") / Decimal(1)).toString(),
              "1.0000000000000000000000000000000000001");
}

TEST(DecimalArithmeticTest, DivisionByZeroGivesZero)
{
    EXPECT_TRUE((Decimal(5) / Decimal(0)).isZero());
    EXPECT_TRUE((Decimal(0) / Decimal(0)).isZero());
}

TEST(DecimalCompareTest, ComparesNumerically)
{
    EXPECT_EQ(dec("1.50"), dec("1.5"));
    EXPECT_EQ(dec("-0"), Decimal(0));
    EXPECT_LT(dec("-2"), dec("-1.99"));
    EXPECT_GT(dec("0.00000000000000000001"), Decimal(0));
    EXPECT_TRUE(dec("10") > dec("9.9999999999999999999999999999"));
    EXPECT_EQ(dec("1e3") <=> Decimal(1000), std::strong_ordering::equal);
}

TEST(DecimalCompareTest, SignHelpers)
{
    EXPECT_TRUE(dec("-0.0").isZero());
    EXPECT_FALSE(dec("-0.0").isNegative());
    EXPECT_TRUE(dec("-0.01").isNegative());
    EXPECT_EQ(dec("-2.5").abs().toString(), "2.5");
    EXPECT_EQ((-Decimal(0)).toString(), "0");
    EXPECT_EQ((-dec("3.1")).toString(), "-3.1");
    EXPECT_EQ(Decimal(-42LL).toQString(), QStringLiteral("-42"));
}

TEST(DecimalConversionTest, ToDoubleGivesTheNearestDouble)
{
    EXPECT_EQ(dec("0.1").toDouble(), 0.1);
    EXPECT_EQ(dec("-1234.5678").toDouble(), -1234.5678);
    EXPECT_EQ(dec("1e-20").toDouble(), 1e-20);
    EXPECT_EQ(Decimal(0).toDouble(), 0.0);
    EXPECT_EQ((Decimal(1) / Decimal(3)).toDouble(), 1.0 / 3.0);
    EXPECT_EQ(dec("1e400").toDouble(), std::numeric_limits<double>::max());
    EXPECT_EQ(dec("-1e-400").toDouble(), 0.0);
}

}  // namespace
}  // namespace vantrell
