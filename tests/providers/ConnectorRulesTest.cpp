#include "models/JsonError.h"
#include "networking/ExchangeAPIError.h"
#include "providers/common/ConnectorRequest.h"
#include "providers/common/OptionalCall.h"
#include "providers/common/PriceMap.h"
#include "providers/common/QueryString.h"
#include "providers/common/ValuationLadder.h"

#include "support/TaskResult.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace vantrell {
namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(std::string_view(text));
}

PriceMap pricesOf(std::initializer_list<std::pair<const char*, const char*>> rows)
{
    PriceMap prices;
    for (const auto& [symbol, price] : rows) {
        prices.add(QString::fromLatin1(symbol), QString::fromLatin1(price));
    }
    return prices;
}

// ---- valuation ladder --------------------------------------------------------------------------

struct LadderCase {
    Exchange exchange;
    const char* asset;
    PriceMap prices;
    const char* expected;  // for a quantity of 2
};

TEST(ConnectorRulesTest, ValuationLadderOfEveryExchange)
{
    const std::vector<LadderCase> cases = {
        // Stablecoins, each exchange's own list, compared as sent except on Bitget.
        {Exchange::binance, "FDUSD", {}, "2"},
        {Exchange::binance, "DAI", {}, "0"},
        {Exchange::binance, "usdt", {}, "0"},
        {Exchange::okx, "DAI", {}, "2"},
        {Exchange::okx, "TUSD", {}, "0"},
        {Exchange::bybit, "USDC", {}, "2"},
        {Exchange::bitget, "usdc", {}, "2"},
        {Exchange::gateio, "usdt", {}, "0"},
        // The USDT pair, in each exchange's pair form.
        {Exchange::binance, "ETH", pricesOf({{"ETHUSDT", "2000"}}), "4000"},
        {Exchange::okx, "ETH", pricesOf({{"ETH-USDT", "2000"}}), "4000"},
        {Exchange::okx, "ETH", pricesOf({{"ETHUSDT", "2000"}}), "0"},
        {Exchange::bybit, "ETH", pricesOf({{"ETHUSDT", "2000"}}), "4000"},
        {Exchange::bitget, "eth", pricesOf({{"ETHUSDT", "2000"}}), "4000"},
        {Exchange::gateio, "ETH", pricesOf({{"ETH_USDT", "2000"}}), "4000"},
        // The BTC route needs the bridge as well.
        {Exchange::binance, "ETH", pricesOf({{"ETHBTC", "0.05"}, {"BTCUSDT", "40000"}}), "4000"},
        {Exchange::binance, "ETH", pricesOf({{"ETHBTC", "0.05"}}), "0"},
        {Exchange::okx, "ETH", pricesOf({{"ETH-BTC", "0.05"}, {"BTC-USDT", "40000"}}), "4000"},
        {Exchange::gateio, "ETH", pricesOf({{"ETH_BTC", "0.05"}, {"BTC_USDT", "40000"}}), "4000"},
        {Exchange::gateio, "ETH", pricesOf({{"ETH_BTC", "0.05"}}), "0"},
        // A USDT pair priced 0 ends the ladder, even when the BTC route would value it.
        {Exchange::binance, "ETH",
         pricesOf({{"ETHUSDT", "0"}, {"ETHBTC", "0.05"}, {"BTCUSDT", "40000"}}), "0"},
        {Exchange::bybit, "ETH",
         pricesOf({{"ETHUSDT", "garbage"}, {"ETHBTC", "0.05"}, {"BTCUSDT", "40000"}}), "0"},
    };
    for (const LadderCase& c : cases) {
        SCOPED_TRACE(toStored(c.exchange).toStdString() + " " + c.asset);
        EXPECT_EQ(ValuationLadder::of(c.exchange)
                      .usdValue(QString::fromLatin1(c.asset), Decimal(2), c.prices),
                  dec(c.expected));
    }
}

TEST(ConnectorRulesTest, BitgetKeepsOnlyNonZeroPricesSoItsBtcRouteIsTried)
{
    PriceMap prices;
    EXPECT_FALSE(prices.add(u"ETHUSDT"_qs, u"0"_qs, PriceMap::KeepRule::nonZeroOnly));
    EXPECT_FALSE(prices.add(u"XUSDT"_qs, std::nullopt, PriceMap::KeepRule::nonZeroOnly));
    prices.add(u"ETHBTC"_qs, u"0.05"_qs, PriceMap::KeepRule::nonZeroOnly);
    prices.add(u"BTCUSDT"_qs, u"40000"_qs, PriceMap::KeepRule::nonZeroOnly);
    EXPECT_EQ(ValuationLadder::of(Exchange::bitget).usdValue(u"ETH"_qs, Decimal(2), prices),
              Decimal(4000));
}

// ---- amount rule and price map
// ---------------------------------------------------------------------

TEST(ConnectorRulesTest, AmountTextThatIsNotAPlainNumberCountsAsZero)
{
    for (const char* text : {"", " 1", "1 ", "1,000", "1.000,5", "NaN", "inf", "-Infinity", "0x10",
                             "12abc", "1e999999999", "1e-999999999", "--1", "1e", "."}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Decimal::amountOrZero(QString::fromLatin1(text)), Decimal());
    }
    EXPECT_EQ(Decimal::amountOrZero(std::nullopt), Decimal());
    EXPECT_EQ(Decimal::amountOrZero(u"1e-8"_qs), dec("0.00000001"));
    EXPECT_EQ(Decimal::amountOrZero(u"-2.5E+3"_qs), Decimal(-2500));
    EXPECT_EQ(Decimal::amountOrZero(u".5"_qs), dec("0.5"));
}

TEST(ConnectorRulesTest, PriceMapKeepsTheFirstRowOfARepeatedSymbol)
{
    PriceMap prices = pricesOf({{"ETHUSDT", "3000"}, {"BADUSDT", "n/a"}, {"ETHUSDT", "9999"}});
    EXPECT_EQ(prices.size(), 2);
    ASSERT_NE(prices.find(u"ETHUSDT"_qs), nullptr);
    EXPECT_EQ(*prices.find(u"ETHUSDT"_qs), Decimal(3000));
    ASSERT_NE(prices.find(u"BADUSDT"_qs), nullptr);  // an unparsable price enters as 0
    EXPECT_EQ(*prices.find(u"BADUSDT"_qs), Decimal());
    EXPECT_EQ(prices.find(u"ethusdt"_qs), nullptr);
}

// ---- requests
// ------------------------------------------------------------------------------------

TEST(ConnectorRulesTest, UrlTextMustFormAnHttpUrlThatIsSentAsWritten)
{
    for (const char* text : {"https://api.binance.com/api/v3/account?a=1&b=2",
                             "http://127.0.0.1:4711/v5/market/tickers?category=spot",
                             "https://api.gateio.ws/api/v4/spot/accounts",
                             "https://www.okx.com/api/v5/market/tickers?instType=SPOT"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(ConnectorRequest::parseURL(QString::fromUtf8(text)).has_value());
    }
    for (const char* text :
         {"", "/api/v3/account", "api.binance.com/api/v3/account", "ftp://api.binance.com/x",
          "http:///api/v3/account", "https://api.binance.com/x?a=b c",
          "https://api.binance.com/x?a=b#c", "https://api.binance.com/x?a=%41",
          "https://api.binance.com/é?a=1", "https://api.binance.com/x?a=|"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ConnectorRequest::parseURL(QString::fromUtf8(text)).has_value());
    }
    EXPECT_THROW(ConnectorRequest::publicGET(u"not a url"_qs), ExchangeAPIError);
}

TEST(ConnectorRulesTest, EncodedQueryIsSentByteForByteAsSigned)
{
    const QString query = QueryString::encoded(
        {{u"b"_qs, u"x y/é"_qs}, {u"a"_qs, u"1+2&c=d"_qs}, {u"c"_qs, u"A-z_0.9~"_qs}});
    EXPECT_TRUE(query.startsWith(u"a="_qs));
    const HttpRequest request = ConnectorRequest::publicGET(u"https://api.bybit.com/p?"_qs + query);
    EXPECT_EQ(request.url.query(QUrl::FullyEncoded), query);
    EXPECT_EQ(QueryString::encoded({}), QString());
    EXPECT_EQ(QueryString::plain({{u"b"_qs, u"2"_qs}, {u"a"_qs, u"1"_qs}}), u"a=1&b=2"_qs);
}

TEST(ConnectorRulesTest, SignedRequestKeepsHeaderOrderAndPublicRequestHasNone)
{
    const HttpRequest signedRequest = ConnectorRequest::signedRequest(
        "POST", u"https://api.binance.com/x?a=1"_qs,
        {{"X-MBX-APIKEY", u"kéy"_qs}, {"Content-Type", u"application/x-www-form-urlencoded"_qs}});
    ASSERT_EQ(signedRequest.headers.size(), 2);
    EXPECT_EQ(signedRequest.headers[0], HttpRequest::Header("X-MBX-APIKEY", "k\xc3\xa9y"));
    EXPECT_EQ(signedRequest.headers[1].first, "Content-Type");
    EXPECT_EQ(signedRequest.effectiveMethod(), "POST");
    EXPECT_TRUE(signedRequest.body.isEmpty());
    EXPECT_EQ(signedRequest.timeout, std::chrono::seconds(12));

    const HttpRequest publicRequest = ConnectorRequest::publicGET(u"https://api.binance.com/x"_qs);
    EXPECT_TRUE(publicRequest.headers.isEmpty());
    EXPECT_EQ(publicRequest.effectiveMethod(), "GET");
    EXPECT_EQ(publicRequest.timeout, std::chrono::seconds(12));
}

TEST(ConnectorRulesTest, HeaderValueWithLineBreakOrNulIsRefusedAsMissingCredentials)
{
    for (const QString& value :
         {u"key\r\nX-Injected: 1"_qs, u"key\n"_qs, u"pass\rphrase"_qs, u"nul\0inside"_qs}) {
        EXPECT_FALSE(ConnectorRequest::isHeaderSafe(value));
        try {
            ConnectorRequest::signedRequest("GET", u"https://api.bybit.com/x"_qs,
                                            {{"X-BAPI-API-KEY", value}});
            ADD_FAILURE() << "an unsafe header value was accepted";
        } catch (const ExchangeAPIError& error) {
            EXPECT_EQ(error.kind(), ExchangeAPIError::Kind::missingCredentials);
        }
    }
    EXPECT_TRUE(ConnectorRequest::isHeaderSafe(u" key with blanks\t"_qs));
    EXPECT_NO_THROW(ConnectorRequest::requireHeaderSafe({u"a"_qs, u"b"_qs}));
    EXPECT_THROW(ConnectorRequest::requireHeaderSafe({u"a"_qs, u"b\n"_qs}), ExchangeAPIError);
}

// ---- optional calls
// ------------------------------------------------------------------------------

struct ToleranceCase {
    const char* name;
    std::exception_ptr failure;
    bool binance;  // unavailableAccountScopeOnly
    bool others;   // allButRateLimit
};

template <class E>
std::exception_ptr failureOf(E error)
{
    return std::make_exception_ptr(std::move(error));
}

TEST(ConnectorRulesTest, OptionalCallRulesAreEachOthersReverse)
{
    const std::vector<ToleranceCase> cases = {
        {"401 invalid key, any case",
         failureOf(ExchangeAPIError::httpStatus(401, u"Invalid API-Key, IP, or permissions"_qs)),
         true, true},
        {"400 account does not exist",
         failureOf(ExchangeAPIError::httpStatus(400, u"Account does not exist."_qs)), true, true},
        {"403 not enabled", failureOf(ExchangeAPIError::httpStatus(403, u"Futures NOT ENABLED"_qs)),
         true, true},
        {"403 not activated",
         failureOf(ExchangeAPIError::httpStatus(403, u"wallet not activated"_qs)), true, true},
        {"403 without a phrase", failureOf(ExchangeAPIError::httpStatus(403, u"Forbidden"_qs)),
         false, true},
        {"402 with a phrase", failureOf(ExchangeAPIError::httpStatus(402, u"permission"_qs)), false,
         true},
        {"404 with a phrase", failureOf(ExchangeAPIError::httpStatus(404, u"permission"_qs)), false,
         true},
        {"rate limited", failureOf(ExchangeAPIError::rateLimited(30)), false, false},
        {"decoding", failureOf(ExchangeAPIError::decoding(u"x"_qs)), false, true},
        {"network", failureOf(ExchangeAPIError::network()), false, true},
        {"invalid URL", failureOf(ExchangeAPIError::invalidURL()), false, true},
        {"api envelope", failureOf(ExchangeAPIError::api(u"permission denied"_qs)), false, true},
        {"cached body that no longer decodes", failureOf(JsonDecodeError("x")), false, true},
        {"programming error", failureOf(std::logic_error("x")), false, false},
    };
    for (const ToleranceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OptionalCall::tolerates(OptionalCallRule::unavailableAccountScopeOnly, c.failure),
                  c.binance);
        EXPECT_EQ(OptionalCall::tolerates(OptionalCallRule::allButRateLimit, c.failure), c.others);
    }
}

template <class T>
QCoro::Task<T> failingWith(ExchangeAPIError error)
{
    throw error;
    co_return T{};
}

template <class T>
QCoro::Task<T> succeedingWith(T value)
{
    co_return value;
}

TEST(ConnectorRulesTest, OptionalCallPassesRepliesAndRethrowsUntoleratedFailuresUnchanged)
{
    const auto value =
        test::runTask(OptionalCall::run(OptionalCallRule::allButRateLimit, succeedingWith<int>(7)));
    EXPECT_EQ(value.value, std::optional<int>(7));

    const auto nullBody = test::runTask(OptionalCall::run(
        OptionalCallRule::unavailableAccountScopeOnly, succeedingWith<std::optional<int>>({})));
    ASSERT_TRUE(nullBody.succeeded());
    EXPECT_EQ(*nullBody.value, std::nullopt);

    const auto tolerated = test::runTask(OptionalCall::run(
        OptionalCallRule::allButRateLimit, failingWith<int>(ExchangeAPIError::network())));
    ASSERT_TRUE(tolerated.succeeded());
    EXPECT_EQ(*tolerated.value, std::nullopt);

    const auto limited = test::runTask(OptionalCall::run(
        OptionalCallRule::allButRateLimit, failingWith<int>(ExchangeAPIError::rateLimited(42))));
    const auto error = limited.errorAs<ExchangeAPIError>();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind(), ExchangeAPIError::Kind::rateLimited);
    EXPECT_EQ(error->retryAfterSeconds(), 42);
}

}  // namespace
}  // namespace vantrell
