#include "models/CompactDecimal.h"
#include "models/Decimal.h"
#include "models/DecimalText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Short values are held compactly and everything else in the wide backend; these tests check
// that both forms read, print, compare and compute alike.

namespace vantrell {
namespace {

Decimal dec(std::string_view text)
{
    const auto value = Decimal::parse(text);
    EXPECT_TRUE(value.has_value()) << text;
    return value.value_or(Decimal());
}

// Exactly 1, but held in the wide form (a 23-digit operand keeps the result wide), so that
// `x * wideOne` is `x` computed through the backend.
const Decimal& wideOne()
{
    static const Decimal one = dec("1.0000000000000000000001") - dec("0.0000000000000000000001");
    return one;
}

// A generated number text together with the value it stands for, worked out independently.
struct Sample {
    std::string text;
    bool negative = false;
    std::string digits;  // normalized: no leading or trailing zeros, empty for zero
    std::int64_t exponent = 0;

    std::string plain() const
    {
        if (digits.empty()) {
            return "0";
        }
        std::string out = negative ? "-" : "";
        const auto length = static_cast<std::int64_t>(digits.size());
        if (exponent >= 0) {
            return out + digits + std::string(static_cast<std::size_t>(exponent), '0');
        }
        if (-exponent < length) {
            const auto point = static_cast<std::size_t>(length + exponent);
            return out + digits.substr(0, point) + "." + digits.substr(point);
        }
        return out + "0." + std::string(static_cast<std::size_t>(-exponent - length), '0') + digits;
    }
};

Sample makeSample(std::string sign, std::string whole, std::string fraction, std::int64_t exponent,
                  bool writeExponent)
{
    Sample sample;
    sample.text = sign + whole + (fraction.empty() && whole.size() % 2 == 0 ? "" : ".") + fraction;
    if (writeExponent) {
        sample.text += (exponent % 2 == 0 ? "e" : "E") + std::to_string(exponent);
    }
    std::string all = whole + fraction;
    std::int64_t power = exponent - static_cast<std::int64_t>(fraction.size());
    while (!all.empty() && all.back() == '0') {
        all.pop_back();
        ++power;
    }
    all.erase(0, std::min(all.find_first_not_of('0'), all.size()));
    sample.negative = sign == "-" && !all.empty();
    sample.digits = all;
    sample.exponent = all.empty() ? 0 : power;
    return sample;
}

class SampleSource {
public:
    Sample next()
    {
        const std::string sign = pick({"", "-", "+"});
        std::string whole = digits(length(12));
        std::string fraction = digits(length(12));
        if (whole.empty() && fraction.empty()) {
            whole = "0";
        }
        const bool writeExponent = m_random() % 3 == 0;
        return makeSample(sign, whole, fraction, writeExponent ? exponent() : 0, writeExponent);
    }

private:
    // Mostly near the decimal point, sometimes far out (still within the accepted range).
    std::int64_t exponent()
    {
        const std::uint64_t spread = m_random() % 4 == 0 ? 1961 : 61;
        return static_cast<std::int64_t>(m_random() % spread) -
               static_cast<std::int64_t>(spread / 2);
    }

    std::string pick(std::initializer_list<const char*> choices)
    {
        return *(choices.begin() + m_random() % choices.size());
    }
    std::size_t length(std::size_t most) { return m_random() % (most + 1); }
    // Zeros are common so that leading, inner and trailing runs all show up.
    std::string digits(std::size_t count)
    {
        std::string out;
        for (std::size_t i = 0; i < count; ++i) {
            const auto roll = m_random() % 14;
            out += static_cast<char>('0' + (roll >= 10 ? 0 : roll));
        }
        return out;
    }

    std::mt19937_64 m_random{20240611};
};

// The digit-count boundary, zeros and the edges of the accepted exponent range.
std::vector<Sample> edgeSamples()
{
    const std::string eighteen = "123456789012345678";
    return {
        makeSample("", eighteen, "", 0, false),
        makeSample("-", eighteen.substr(0, 17), "9", 0, false),
        makeSample("", eighteen + "9", "", 0, false),
        makeSample("", eighteen + "000", "", 0, false),
        makeSample("", "0", "000" + eighteen, 0, false),
        makeSample("", "0", "000" + eighteen + "1", 0, false),
        makeSample("-", "999999999999999999", "", 0, false),
        makeSample("", "1000000000000000001", "", 0, false),
        makeSample("", "9223372036854775807", "", 0, false),
        makeSample("-", "9223372036854775808", "", 0, false),
        makeSample("", "1", "00000000000000000000000000000", 0, false),
        makeSample("", "0", "", 0, false),
        makeSample("-", "0", "", 0, false),
        makeSample("-", "0", "000", 5, true),
        makeSample("", "1", "", -1000, true),
        makeSample("-", "1", "", 1000, true),
        makeSample("", "9", "99999999999999999", 1000, true),
        makeSample("", eighteen, "", -1017, true),
        makeSample("", eighteen + "7", "", -1018, true),
        makeSample("", "5", "", -400, true),
        makeSample("", "5", "", 400, true),
    };
}

// The value computed through the backend must agree with the compact one in every respect.
void expectSameValue(const Decimal& compact, const Decimal& wide, const std::string& context)
{
    EXPECT_EQ(compact, wide) << context;
    EXPECT_EQ(compact <=> wide, std::strong_ordering::equal) << context;
    EXPECT_EQ(compact.toString(), wide.toString()) << context;
    EXPECT_EQ(compact.toDouble(), wide.toDouble()) << context;
    EXPECT_EQ(compact.isNegative(), wide.isNegative()) << context;
    EXPECT_EQ(compact.isZero(), wide.isZero()) << context;
}

void checkSample(const Sample& sample)
{
    const std::optional<Decimal> parsed = Decimal::parse(std::string_view(sample.text));
    ASSERT_TRUE(parsed.has_value()) << sample.text;
    const Decimal wide = *parsed * wideOne();
    EXPECT_EQ(parsed->toString(), sample.plain()) << sample.text;
    expectSameValue(*parsed, wide, sample.text);
    expectSameValue(-*parsed, -wide, "minus " + sample.text);
    expectSameValue(parsed->abs(), wide.abs(), "abs " + sample.text);

    const std::string scientific = (sample.negative ? "-" : "") +
                                   (sample.digits.empty() ? "0" : sample.digits) + "e" +
                                   std::to_string(sample.exponent);
    double nearest = 0;
    const auto read =
        std::from_chars(scientific.data(), scientific.data() + scientific.size(), nearest);
    if (read.ec == std::errc()) {
        EXPECT_EQ(parsed->toDouble(), nearest) << sample.text;
    }
    for (const int places : {-3, 0, 2, 8, 17, 25}) {
        for (const auto mode : {Decimal::Rounding::halfAwayFromZero, Decimal::Rounding::down}) {
            expectSameValue(parsed->rounded(places, mode), wide.rounded(places, mode),
                            sample.text + " rounded to " + std::to_string(places));
        }
    }
}

void checkPair(const Decimal& a, const Decimal& b, const std::string& context)
{
    const Decimal wideA = a * wideOne();
    const Decimal wideB = b * wideOne();
    expectSameValue(a + b, wideA + wideB, context + " +");
    expectSameValue(a - b, wideA - wideB, context + " -");
    expectSameValue(a * b, wideA * wideB, context + " *");
    expectSameValue(a / b, wideA / wideB, context + " /");
    EXPECT_EQ(a <=> b, wideA <=> wideB) << context;
    EXPECT_EQ(a <=> wideB, wideA <=> b) << context;
    EXPECT_EQ(a == b, wideA == b) << context;
}

TEST(DecimalCompactTest, GeneratedTextsReadAndComputeAsThroughTheBackend)
{
    SampleSource source;
    std::vector<Sample> samples = edgeSamples();
    for (int i = 0; i < 1000; ++i) {
        samples.push_back(source.next());
    }
    std::optional<Decimal> previous;
    std::string previousText;
    for (const Sample& sample : samples) {
        checkSample(sample);
        const Decimal value = Decimal::parse(std::string_view(sample.text)).value_or(Decimal());
        if (previous) {
            checkPair(value, *previous, sample.text + " with " + previousText);
        }
        previous = value;
        previousText = sample.text;
    }
}

// Plain texts take a short road; it must give what the general reader gives, and leave it
// everything else.
TEST(DecimalCompactTest, PlainTextsReadAsTheGeneralReaderReadsThem)
{
    const std::string_view plain[] = {"0",
                                      "-0",
                                      "-0.000",
                                      "42",
                                      "007.50",
                                      "120345.10012345",
                                      "0.00001234",
                                      "12345678",
                                      "1234567.8",
                                      "-12345678.12345678",
                                      "999999999999999999",
                                      "0.00000000000000001",
                                      "100000000000000000",
                                      "-99999999.999999999",
                                      "12345678901234567.8"};
    for (const std::string_view text : plain) {
        const auto shortRoad = CompactDecimal::fromPlainText(text);
        ASSERT_TRUE(shortRoad.has_value()) << text;
        DecimalText scanned;
        ASSERT_TRUE(scanned.read(text)) << text;
        EXPECT_EQ(shortRoad, CompactDecimal::fromText(scanned)) << text;
    }
    // Nineteen digits, exponents, other signs and partial numbers go the general way.
    const std::string_view general[] = {"1234567890123456789",
                                        "0.000000000000000001",
                                        "1e5",
                                        "1E-5",
                                        "+5",
                                        ".5",
                                        "5.",
                                        "-",
                                        "",
                                        "1.2.3",
                                        "12345678x",
                                        "1 ",
                                        "--1",
                                        "0x10",
                                        "1,5",
                                        "١"};
    for (const std::string_view text : general) {
        EXPECT_FALSE(CompactDecimal::fromPlainText(text).has_value()) << text;
    }
    EXPECT_EQ(dec("1234567890123456789").toString(), "1234567890123456789");
    EXPECT_EQ(dec("0.000000000000000001"), dec("1e-18"));
    EXPECT_EQ(dec("5."), dec("5"));
    EXPECT_FALSE(Decimal::parse(std::string_view("12345678x")).has_value());
}

TEST(DecimalCompactTest, ResultsCrossingEighteenDigitsStayExact)
{
    const Decimal nines = dec("999999999999999999");
    EXPECT_EQ((nines + Decimal(1)).toString(), "1000000000000000000");
    EXPECT_EQ((nines + dec("0.1")).toString(), "999999999999999999.1");
    EXPECT_EQ((nines + dec("1e-21")).toString(), "999999999999999999.000000000000000000001");
    EXPECT_EQ((dec("-1e-40") + nines).toString(), "999999999999999998." + std::string(40, '9'));
    EXPECT_EQ((nines + dec("0.1") - dec("0.1")), nines);
    EXPECT_EQ((nines * nines).toString(), "999999999999999998000000000000000001");
    EXPECT_EQ((dec("-0.000000000000000001") + dec("1e20")).toString(),
              "99999999999999999999.999999999999999999");
    EXPECT_EQ((dec("1e-1000") * dec("1e-1000")).toString(), "0." + std::string(1999, '0') + "1");
    EXPECT_EQ((dec("5e1000") + dec("5e1000")).toString(), "1" + std::string(1001, '0'));
    EXPECT_EQ(dec("-1e-30").rounded(-1000, Decimal::Rounding::down).toString(),
              "-1" + std::string(1000, '0'));
}

TEST(DecimalCompactTest, EqualValuesInEitherFormCompareAndPrintAlike)
{
    const Decimal wideHalf = dec("1.4999999999999999999999") + dec("0.0000000000000000000001");
    EXPECT_EQ(wideHalf, dec("1.5"));
    EXPECT_EQ(wideHalf.toString(), dec("1.50").toString());
    EXPECT_EQ(Decimal(LLONG_MAX), dec("9223372036854775807"));
    EXPECT_EQ(Decimal(LLONG_MIN).toString(), "-9223372036854775808");
    EXPECT_EQ(Decimal(9'000'000'000'000'000'000LL), dec("9e18"));
    EXPECT_LT(Decimal(LLONG_MIN), dec("-9223372036854775807.9"));
    EXPECT_GT(dec("0.0000000000000000000001"), Decimal(0));
    EXPECT_LT(dec("-1e-1000"), Decimal(0) * wideOne());
}

TEST(DecimalCompactTest, QStringTextReadsLikeItsUtf8)
{
    EXPECT_EQ(Decimal::parse(QStringLiteral("120345.10012345")), dec("120345.10012345"));
    EXPECT_FALSE(Decimal::parse(QStringLiteral("1٢")).has_value());
    EXPECT_FALSE(Decimal::parse(QStringLiteral("1é")).has_value());
    // U+0131 and U+FF10 end in the bytes of "1" and "0": no narrowing may turn them into digits.
    EXPECT_FALSE(Decimal::parse(QStringLiteral("1\u0131")).has_value());
    EXPECT_FALSE(Decimal::parse(QStringLiteral("\uFF10")).has_value());
    EXPECT_FALSE(Decimal::parse(QString(QChar(0))).has_value());
    const QString longText = QStringLiteral("0.") + QString(80, u'0') + QStringLiteral("25");
    EXPECT_EQ(Decimal::parse(longText)->toString(), longText.toStdString());
    EXPECT_FALSE(Decimal::parse(longText + QStringLiteral("é")).has_value());
}

TEST(DecimalCompactTest, StaysSmall)
{
    using Backend = boost::multiprecision::number<boost::multiprecision::cpp_dec_float<50>,
                                                  boost::multiprecision::et_off>;
    static_assert(sizeof(Decimal) <= sizeof(Backend) + 16);
}

}  // namespace
}  // namespace vantrell
