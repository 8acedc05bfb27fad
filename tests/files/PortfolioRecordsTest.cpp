#include "files/CachedPortfolioSnapshot.h"
#include "files/PortfolioHistory.h"

#include "models/JsonError.h"
#include "models/JsonReader.h"
#include "models/JsonWriter.h"
#include "support/PortfolioSamples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace vantrell;
using namespace vantrell::test;

namespace {

std::string encode(const JsonValue& value)
{
    return JsonWriter::write(value).toStdString();
}

template <typename T>
T decode(const std::string& text)
{
    return T::fromJson(JsonReader::parse(text));
}

// No number anywhere in the tree is written with an exponent.
bool numbersArePlain(const JsonValue& value)
{
    switch (value.type()) {
        case JsonValue::Type::number:
            return value.text().find_first_of("eE") == std::string::npos;
        case JsonValue::Type::array:
            return std::all_of(value.items().begin(), value.items().end(), numbersArePlain);
        case JsonValue::Type::object:
            return std::all_of(
                value.members().begin(), value.members().end(),
                [](const JsonMember& member) { return numbersArePlain(member.value); });
        default:
            return true;
    }
}

// A cache record around a snapshot and an exchange-keyed "quality" written as given.
std::string cacheWithQuality(const std::string& quality)
{
    return R"({"snapshot":)" + encode(sampleSnapshot().toJson()) + R"(,"savedAt":1,"quality":)" +
           quality + "}";
}

}  // namespace

TEST(PortfolioRecordsTest, CacheRoundTripKeepsEveryDigit)
{
    const CachedPortfolioSnapshot cache = sampleCache(identityOf('a'));
    const std::string text = encode(cache.toJson());

    EXPECT_EQ(decode<CachedPortfolioSnapshot>(text), cache);
    EXPECT_NE(text.find("12345.678901234567890123"), std::string::npos);
    EXPECT_NE(text.find("0.000123456789012345678"), std::string::npos);
    EXPECT_NE(text.find("-0.000000000000000001"), std::string::npos);
    EXPECT_NE(text.find(R"("savedAt":700000000.125)"), std::string::npos);
    EXPECT_EQ(text.find("null"), std::string::npos);
    EXPECT_TRUE(numbersArePlain(JsonReader::parse(text)));
}

TEST(PortfolioRecordsTest, ExchangeKeyedMapsAreAlternatingArrays)
{
    const std::string text = encode(sampleCache(identityOf('a')).toJson());

    EXPECT_NE(text.find(R"("quality":["Binance","","Gate.io","partial"])"), std::string::npos);
    EXPECT_NE(text.find(R"("components":["OKX",{"2F1B6C1E-0000-4000-8000-000000000001":{)"),
              std::string::npos);
}

TEST(PortfolioRecordsTest, AbsentOptionalsAreLeftOutNotNull)
{
    CachedPortfolioSnapshot bare;
    bare.savedAt = Date{-0.5};
    const std::string text = encode(bare.toJson());

    EXPECT_EQ(text.find("null"), std::string::npos);
    EXPECT_EQ(text.find("identity"), std::string::npos);
    EXPECT_EQ(text.find("quality"), std::string::npos);
    EXPECT_EQ(text.find("components"), std::string::npos);
    EXPECT_EQ(decode<CachedPortfolioSnapshot>(text), bare);

    // A reader treats null like a missing optional key.
    const auto withNulls = decode<CachedPortfolioSnapshot>(
        R"({"snapshot":)" + encode(PortfolioSnapshot{}.toJson()) +
        R"(,"savedAt":0,"identity":null,"quality":null,"components":null})");
    EXPECT_FALSE(withNulls.identity.has_value());
    EXPECT_FALSE(withNulls.quality.has_value());
}

TEST(PortfolioRecordsTest, HistoryRoundTripWithUpperCaseFlowIds)
{
    const PortfolioHistory history = sampleHistory(identityOf('b'), Date{800'000'000.5});
    const std::string text = encode(history.toJson());

    EXPECT_EQ(decode<PortfolioHistory>(text), history);
    EXPECT_NE(text.find(R"("id":"6F9619FF-8B86-D011-B42D-00C04FC964FF")"), std::string::npos);
    EXPECT_NE(text.find(R"({"timestamp":800000000.5,"totalValue":1000.000000000000000000000001})"),
              std::string::npos);
    EXPECT_NE(text.find(R"("amountUSD":-250.123456789012345678)"), std::string::npos);
}

TEST(PortfolioRecordsTest, MalformedExchangeMapsFailTheRecord)
{
    EXPECT_EQ(decode<CachedPortfolioSnapshot>(cacheWithQuality(R"(["OKX","a","Binance","b"])"))
                  .quality->size(),
              2U);
    for (const char* quality : {R"(["OKX"])", R"(["OKX","a","Binance"])", R"(["Gate","a"])",
                                R"(["okx","a"])", R"([1,"a"])", R"({"OKX":"a"})", R"(["OKX",1])"}) {
        SCOPED_TRACE(quality);
        EXPECT_THROW(decode<CachedPortfolioSnapshot>(cacheWithQuality(quality)), JsonDecodeError);
    }
}
