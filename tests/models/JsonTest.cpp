#include "models/JsonCoding.h"
#include "models/JsonReader.h"
#include "models/JsonWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace vantrell;
using namespace std::string_literals;
using namespace std::string_view_literals;

namespace {

QByteArray bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string written(const JsonValue& value)
{
    return JsonWriter::write(value).toStdString();
}

std::string decodeErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const JsonDecodeError& error) {
        return error.what();
    }
    return "(no error)";
}

}  // namespace

// ---- reader ------------------------------------------------------------------------------------

TEST(JsonReaderTest, KeepsTypesAndExactNumberText)
{
    const JsonValue root = JsonReader::parse(std::string_view(
        R"({"n":null,"t":true,"f":false,"num":1.10,"str":"1.10","big":-12345678901234567890.123456789012345678,"arr":[0,"0"],"obj":{}})"));
    ASSERT_TRUE(root.isObject());
    EXPECT_TRUE(root.find("n")->isNull());
    EXPECT_TRUE(root.find("t")->boolValue());
    EXPECT_FALSE(root.find("f")->boolValue());
    EXPECT_TRUE(root.find("num")->isNumber());
    EXPECT_EQ(root.find("num")->text(), "1.10");
    EXPECT_TRUE(root.find("str")->isString());
    EXPECT_EQ(root.find("str")->text(), "1.10");
    EXPECT_EQ(root.find("big")->text(), "-12345678901234567890.123456789012345678");
    const JsonValue::Array& items = root.find("arr")->items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].isNumber());
    EXPECT_TRUE(items[1].isString());
    EXPECT_NE(items[0], items[1]);
    EXPECT_TRUE(root.find("obj")->members().empty());
    EXPECT_EQ(root.find("missing"), nullptr);
}

TEST(JsonReaderTest, AcceptsAnyTopLevelValue)
{
    EXPECT_TRUE(JsonReader::parse(QByteArray(" null ")).isNull());
    EXPECT_EQ(JsonReader::parse(QByteArray("3e-2")).text(), "3e-2");
    EXPECT_EQ(JsonReader::parse(QByteArray("\"x\"")).toQString(), QStringLiteral("x"));
    EXPECT_TRUE(JsonReader::parse(QByteArray("[]")).items().empty());
}

TEST(JsonReaderTest, LastDuplicateKeyWins)
{
    const JsonValue root = JsonReader::parse(QByteArray(R"({"a":1,"b":2,"a":3})"));
    EXPECT_EQ(root.members().size(), 3u);
    EXPECT_EQ(root.find("a")->text(), "3");
}

TEST(JsonReaderTest, DecodesEscapesAndUnicode)
{
    const JsonValue value = JsonReader::parse(
        QByteArray(R"(["\"\\\/\b\f\n\r\t", "\u00e9\u4e2d", "\ud83d\ude00", "中文 é"])"));
    const JsonValue::Array& items = value.items();
    EXPECT_EQ(items[0].text(), "\"\\/\b\f\n\r\t");
    EXPECT_EQ(items[1].text(), "\xC3\xA9\xE4\xB8\xAD");
    EXPECT_EQ(items[2].text(), "\xF0\x9F\x98\x80");
    EXPECT_EQ(items[2].toQString(), QString::fromUcs4(U"\U0001F600", 1));
    EXPECT_EQ(items[3].toQString(), QStringLiteral("中文 é"));
}

// U+D000-U+D7FF share their first UTF-8 byte with the surrogates, which the reader refuses.
TEST(JsonReaderTest, AcceptsCharactersNextToTheSurrogates)
{
    const JsonValue value =
        JsonReader::parse(QByteArray(R"({"\ud7ff":["\ud55c", "한", "\ue000"]})"));
    EXPECT_EQ(value.members()[0].key, "\xED\x9F\xBF");
    const JsonValue::Array& items = value.members()[0].value.items();
    EXPECT_EQ(items[0].text(), "\xED\x95\x9C");
    EXPECT_EQ(items[1].text(), "\xED\x95\x9C");
    EXPECT_EQ(items[2].text(), "\xEE\x80\x80");
}

TEST(JsonReaderTest, RejectsInvalidText)
{
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"blank", " \n\t"},
        {"truncated literal", "nul"},
        {"trailing garbage", "[1] x"},
        {"second value", "{} {}"},
        {"truncated array", "[1,2"},
        {"truncated object", R"({"a":)"},
        {"truncated string", R"("abc)"},
        {"trailing comma", "[1,]"},
        {"single quotes", "'a'"},
        {"leading zero", "01"},
        {"bare fraction point", "1."},
        {"NaN", "NaN"},
        {"huge exponent", "1e400"},
        {"invalid UTF-8", "\"\xFF\xFE\""},
        {"overlong UTF-8", "\"\xC0\xAF\""},
        {"lone surrogate escape", R"("\ud800")"},
        {"lone low surrogate escape", R"(["\udc00"])"},
        {"lone low surrogate escape in a key", R"({"\udfff":1})"},
        {"HTML error page", "<html><body><h1>502 Bad Gateway</h1></body></html>"},
        {"NUL after value", "[1]\0"s},
        {"NUL then garbage", "{}\0garbage"s},
        {"NUL inside string", "\"a\0b\""s},
        {"NUL before value", "\0[1]"s},
    };
    for (const auto& entry : cases) {
        const std::string message = decodeErrorOf([&] { JsonReader::parse(bytes(entry.text)); });
        EXPECT_NE(message.find("offset"), std::string::npos) << entry.name << ": " << message;
    }
}

TEST(JsonReaderTest, ErrorNamesTheReasonAndOffset)
{
    EXPECT_EQ(decodeErrorOf([] { JsonReader::parse(QByteArray()); }),
              "invalid JSON at offset 0: The document is empty.");
    const std::string message = decodeErrorOf([] { JsonReader::parse(QByteArray("[1] x")); });
    EXPECT_NE(message.find("offset 4"), std::string::npos) << message;
    EXPECT_NE(message.find("root must not be followed"), std::string::npos) << message;
}

TEST(JsonReaderTest, LimitsNestingDepth)
{
    const auto nested = [](int depth) {
        return std::string(static_cast<size_t>(depth), '[') +
               std::string(static_cast<size_t>(depth), ']');
    };
    EXPECT_NO_THROW(JsonReader::parse(bytes(nested(JsonReader::maxDepth))));
    EXPECT_NE(decodeErrorOf([&] {
                  JsonReader::parse(bytes(nested(JsonReader::maxDepth + 1)));
              }).find("nesting deeper than 512"),
              std::string::npos);
    // Far too deep for a recursive parser without a limit.
    EXPECT_THROW(JsonReader::parse(bytes(std::string(1'000'000, '['))), JsonDecodeError);
}

// ---- writer and values -------------------------------------------------------------------------

TEST(JsonWriterTest, RoundTripsCompactText)
{
    const std::string text =
        R"({"a":[1,-0.5,1.10,1E+3,"1.10",true,false,null],"b":{"c":{}},"d":[],"é":"中"})";
    const JsonValue value = JsonReader::parse(bytes(text));
    EXPECT_EQ(written(value), text);
    EXPECT_EQ(JsonReader::parse(JsonWriter::write(value)), value);
}

TEST(JsonWriterTest, EscapesQuotesBackslashesAndControlCharacters)
{
    const std::string raw = "q\"b\\s/n\nt\tz\x01\x1f\x7f";
    const std::string text = written(JsonValue::string(raw));
    EXPECT_EQ(text, R"("q\"b\\s/n\nt\tz\u0001\u001F)"
                    "\x7f\"");
    EXPECT_EQ(JsonReader::parse(bytes(text)).text(), raw);

    JsonValue object = JsonValue::object();
    object.insert("k\"ey", JsonValue::null());
    EXPECT_EQ(written(object), R"({"k\"ey":null})");
}

TEST(JsonWriterTest, RefusesInvalidUtf8)
{
    EXPECT_THROW(JsonWriter::write(JsonValue::string("\xFF"s)), JsonEncodeError);
}

TEST(JsonValueTest, NumbersAreWrittenFromTheirText)
{
    EXPECT_EQ(written(JsonValue::numberText("1.10")), "1.10");
    EXPECT_EQ(written(JsonValue::number(std::numeric_limits<long long>::min())),
              "-9223372036854775808");
    EXPECT_EQ(written(JsonValue::number(Decimal::parse("0.00000000000000000001"sv).value())),
              "0.00000000000000000001");

    const struct {
        double value;
        const char* text;
    } doubles[] = {
        {0.1, "0.1"},
        {5.0, "5"},
        {-0.0, "-0"},
        {750000000.0, "750000000"},
        {1e21, "1e+21"},
        {1e-7, "1e-07"},
        {-2.5e-6, "-0.0000025"},
        {753791234.123456, "753791234.123456"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
    };
    for (const auto& entry : doubles) {
        const JsonValue value = JsonValue::number(entry.value);
        EXPECT_EQ(value.text(), entry.text);
        EXPECT_EQ(decodeJson<double>(JsonReader::parse(bytes(value.text()))), entry.value);
    }
}

TEST(JsonValueTest, NonFiniteNumbersCannotBeEncoded)
{
    EXPECT_THROW(JsonValue::number(std::nan("")), JsonEncodeError);
    EXPECT_THROW(encodeJson(std::numeric_limits<double>::infinity()), JsonEncodeError);
    EXPECT_THROW(encodeJson(Date{-std::numeric_limits<double>::infinity()}), JsonEncodeError);
}

TEST(JsonValueTest, EqualityComparesTypeAndExactText)
{
    EXPECT_EQ(JsonValue::numberText("1.0"), JsonValue::numberText("1.0"));
    EXPECT_NE(JsonValue::numberText("1.0"), JsonValue::numberText("1"));
    EXPECT_NE(JsonValue::numberText("1"), JsonValue::string("1"));
    EXPECT_NE(JsonValue::boolean(false), JsonValue::null());
    EXPECT_EQ(JsonValue::string(QStringLiteral("é")), JsonValue::string("\xC3\xA9"s));
}

TEST(JsonValueTest, AssigningAChildToItsParentKeepsTheChild)
{
    JsonValue value = JsonReader::parse(QByteArray(R"([["inner",{"k":1}]])"));
    value = value.items()[0];
    EXPECT_EQ(written(value), R"(["inner",{"k":1}])");
    value = std::move(value.items()[1]);
    EXPECT_EQ(written(value), R"({"k":1})");
    JsonValue copy = value;
    copy.insert("x", JsonValue::null());
    EXPECT_EQ(written(value), R"({"k":1})");
}

// ---- typed coding ------------------------------------------------------------------------------

TEST(JsonCodingTest, RequiredKeyFailuresNameTheKey)
{
    const JsonValue object = JsonReader::parse(QByteArray(R"({"nil":null,"s":"12.5","n":12.5})"));
    const struct {
        const char* key;
        std::function<void()> decode;
    } cases[] = {
        {"absent", [&] { json::required<QString>(object, "absent"); }},
        {"nil", [&] { json::required<Decimal>(object, "nil"); }},
        {"s", [&] { json::required<Decimal>(object, "s"); }},
        {"n", [&] { json::required<QString>(object, "n"); }},
        {"n", [&] { json::required<bool>(object, "n"); }},
        {"s", [&] { json::required<std::vector<int>>(object, "s"); }},
    };
    for (const auto& entry : cases) {
        const std::string message = decodeErrorOf(entry.decode);
        EXPECT_NE(message.find("\""s + entry.key + "\""), std::string::npos) << message;
    }
    EXPECT_EQ(json::required<Decimal>(object, "n"), Decimal::parse("12.5"sv));
    EXPECT_EQ(json::required<QString>(object, "s"), QStringLiteral("12.5"));
    EXPECT_THROW(json::required<int>(JsonValue::array(), "n"), JsonDecodeError);
}

TEST(JsonCodingTest, OptionalKeys)
{
    const JsonValue object = JsonReader::parse(QByteArray(R"({"nil":null,"n":7,"extra":{}})"));
    EXPECT_EQ(json::optional<int>(object, "absent"), std::nullopt);
    EXPECT_EQ(json::optional<int>(object, "nil"), std::nullopt);
    EXPECT_EQ(json::optional<int>(object, "n"), 7);
    EXPECT_THROW(json::optional<QString>(object, "n"), JsonDecodeError);

    JsonValue built = JsonValue::object();
    json::putOptional(built, "a", std::optional<int>());
    json::putOptional(built, "b", std::optional<int>(2));
    EXPECT_EQ(written(built), R"({"b":2})");
}

TEST(JsonCodingTest, IntegersMustBeWholeAndInRange)
{
    const struct {
        const char* text;
        std::optional<int> expected;
    } cases[] = {
        {"0", 0},
        {"-2147483648", -2147483648},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"5.0", 5},
        {"1e2", 100},
        {"5.5", std::nullopt},
        {"1e-2", std::nullopt},
        {"-1E+30", std::nullopt},
    };
    for (const auto& entry : cases) {
        const JsonValue value = JsonValue::numberText(entry.text);
        if (entry.expected) {
            EXPECT_EQ(decodeJson<int>(value), *entry.expected) << entry.text;
        } else {
            EXPECT_THROW(decodeJson<int>(value), JsonDecodeError) << entry.text;
        }
    }
    EXPECT_THROW(decodeJson<int>(JsonValue::string("5")), JsonDecodeError);
}

TEST(JsonCodingTest, DoublesAndDates)
{
    EXPECT_EQ(decodeJson<double>(JsonValue::numberText("-1.5e3")), -1500.0);
    EXPECT_THROW(decodeJson<double>(JsonValue::numberText("1e400")), JsonDecodeError);
    EXPECT_THROW(decodeJson<double>(JsonValue::string("1.5")), JsonDecodeError);

    const Date date{753791234.123456};
    const JsonValue encoded = encodeJson(date);
    EXPECT_EQ(decodeJson<Date>(JsonReader::parse(JsonWriter::write(encoded))), date);
    EXPECT_EQ(decodeJson<Date>(JsonValue::numberText("7.5e8")), Date{750000000.0});
    // Whole numbers are read eight digits at a time; anything else in those eight is no digit.
    EXPECT_EQ(decodeJson<Date>(JsonValue::numberText("800000300")), Date{800000300.0});
    EXPECT_EQ(decodeJson<Date>(JsonValue::numberText("-123456789012345")),
              Date{-123456789012345.0});
    EXPECT_EQ(decodeJson<Date>(JsonValue::numberText("1234567.5")), Date{1234567.5});
    EXPECT_EQ(decodeJson<Date>(JsonValue::numberText("12345678e1")), Date{123456780.0});
}

TEST(JsonCodingTest, ContainerCoders)
{
    const JsonValue value =
        JsonReader::parse(QByteArray(R"({"list":[1,null,3],"map":{"a":"x","b":"y","a":"z"}})"));
    const auto list = json::required<std::vector<std::optional<int>>>(value, "list");
    EXPECT_EQ(list, (std::vector<std::optional<int>>{1, std::nullopt, 3}));
    EXPECT_THROW(json::required<std::vector<int>>(value, "list"), JsonDecodeError);

    const auto map = json::required<std::map<QString, QString>>(value, "map");
    EXPECT_EQ(map, (std::map<QString, QString>{{QStringLiteral("a"), QStringLiteral("z")},
                                               {QStringLiteral("b"), QStringLiteral("y")}}));
    EXPECT_EQ(written(encodeJson(map)), R"({"a":"z","b":"y"})");
    EXPECT_EQ(written(encodeJson(std::vector<std::optional<int>>{1, std::nullopt})), "[1,null]");
}
