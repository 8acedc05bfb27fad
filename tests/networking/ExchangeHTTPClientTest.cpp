#include "networking/ExchangeHTTPClient.h"

#include "support/ExchangeAPIErrorPrinter.h"
#include "support/FakeHttpTransport.h"
#include "support/ManualClock.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>
#include <QCoroTask>

#include <exception>
#include <ostream>

namespace vantrell {

namespace {

// ---- running a send to its end -------------------------------------------------------------

template <typename T>
using Outcome = test::TaskResult<T>;
using test::runTask;

template <typename T>
std::optional<ExchangeAPIError> apiError(const Outcome<T>& outcome)
{
    return outcome.template errorAs<ExchangeAPIError>();
}

// ---- reply types -----------------------------------------------------------------------------

struct Ticker {
    QString symbol;
    QString price;

    static Ticker fromJson(const JsonValue& value)
    {
        return Ticker{json::required<QString>(value, "symbol"),
                      json::required<QString>(value, "price")};
    }
};
using Tickers = std::vector<Ticker>;
using Strings = std::vector<QString>;

const QString tickerPath = QStringLiteral("/api/v3/ticker/price");
const QByteArray tickerBody = R"([{"symbol":"BTCUSDT","price":"64000.10"}])";

HttpRequest requestFor(const QString& path, const QString& query = {})
{
    HttpRequest request;
    request.url.setScheme(QStringLiteral("https"));
    request.url.setHost(QStringLiteral("api.example.com"));
    request.url.setPath(path);
    if (!query.isEmpty()) {
        request.url.setQuery(query);
    }
    return request;
}

class ExchangeHTTPClientTest : public ::testing::Test {
protected:
    template <typename T>
    Outcome<T> send(HttpRequest request)
    {
        return runTask(client.send<T>(std::move(request)));
    }

    FakeHttpTransport transport;
    PublicMarketCache cache;
    ManualClock clock;
    ExchangeHTTPClient client{transport, cache, clock};
};

// ---- public market cache ---------------------------------------------------------------------

struct CacheRow {
    const char* name;
    std::optional<QByteArray> method;
    QString path;
    QList<HttpRequest::Header> headers;
    bool cached;
};

TEST(ExchangeHTTPClientCache, OnlyUnsignedGetsOfTheTickerPathsAreServedFromTheCache)
{
    const QList<HttpRequest::Header> none;
    const CacheRow rows[] = {
        {"method unset", std::nullopt, tickerPath, none, true},
        {"GET", "GET", tickerPath, none, true},
        {"OKX tickers", std::nullopt, "/api/v5/market/tickers", none, true},
        {"Bybit tickers", std::nullopt, "/v5/market/tickers", none, true},
        {"Bitget tickers", std::nullopt, "/api/v2/spot/market/tickers", none, true},
        {"Gate tickers", std::nullopt, "/api/v4/spot/tickers", none, true},
        {"header value is not looked at", "GET", tickerPath, {{"Accept", "key/sign"}}, true},
        {"lower-case method", "get", tickerPath, none, false},
        {"POST", "POST", tickerPath, none, false},
        {"path below a ticker path", std::nullopt, tickerPath + "/x", none, false},
        {"path in other case", std::nullopt, "/API/v3/ticker/price", none, false},
        {"account path", std::nullopt, "/api/v3/account", none, false},
        {"API key header", std::nullopt, tickerPath, {{"X-MBX-APIKEY", "k"}}, false},
        {"lower-case key header", std::nullopt, tickerPath, {{"x-mbx-apikey", "k"}}, false},
        {"ACCESS-KEY", std::nullopt, tickerPath, {{"Accept", "*/*"}, {"ACCESS-KEY", "k"}}, false},
        {"signature header", std::nullopt, tickerPath, {{"X-BAPI-SIGN", "s"}}, false},
    };
    for (const CacheRow& row : rows) {
        SCOPED_TRACE(row.name);
        FakeHttpTransport transport;
        transport.setFallback(
            [](const HttpRequest&) { return FakeHttpTransport::json(200, "[]"); });
        PublicMarketCache cache;
        ManualClock clock;
        const ExchangeHTTPClient client(transport, cache, clock);
        HttpRequest request = requestFor(row.path, QStringLiteral("symbol=BTCUSDT"));
        request.method = row.method;
        request.headers = row.headers;

        EXPECT_EQ(ExchangeHTTPClient::publicMarketURL(request).has_value(), row.cached);
        EXPECT_TRUE(runTask(client.send<Strings>(request)).value);
        EXPECT_TRUE(runTask(client.send<Strings>(request)).value);
        EXPECT_EQ(transport.requestCount(), row.cached ? 1 : 2);
    }
}

TEST_F(ExchangeHTTPClientTest, RequestsDifferingOnlyInTheirQueryAreSeparateEntries)
{
    transport.respond("GET", tickerPath, [](const HttpRequest& request) {
        return FakeHttpTransport::json(200, "[\"" + request.url.query().toUtf8() + "\"]");
    });
    const HttpRequest a = requestFor(tickerPath, QStringLiteral("symbol=A"));
    const HttpRequest b = requestFor(tickerPath, QStringLiteral("symbol=B"));

    EXPECT_EQ(send<Strings>(a).value, Strings{"symbol=A"});
    EXPECT_EQ(send<Strings>(b).value, Strings{"symbol=B"});
    EXPECT_EQ(send<Strings>(a).value, Strings{"symbol=A"});
    EXPECT_EQ(send<Strings>(b).value, Strings{"symbol=B"});
    EXPECT_EQ(transport.requestCount(), 2);
}

TEST_F(ExchangeHTTPClientTest, CachedTickersAreReusedForFifteenSeconds)
{
    transport.respond("GET", tickerPath, FakeHttpTransport::json(200, tickerBody));
    const HttpRequest request = requestFor(tickerPath);
    const Date start = clock.now();

    ASSERT_TRUE(send<Tickers>(request).value);
    clock.set(start.addingSeconds(14.9));
    const Outcome<Tickers> cached = send<Tickers>(request);
    ASSERT_TRUE(cached.value);
    EXPECT_EQ(cached.value->at(0).price, QStringLiteral("64000.10"));
    EXPECT_EQ(transport.requestCount(), 1);

    clock.set(start.addingSeconds(15));
    ASSERT_TRUE(send<Tickers>(request).value);
    EXPECT_EQ(transport.requestCount(), 2);
}

TEST_F(ExchangeHTTPClientTest, ErrorRepliesAndUndecodableBodiesAreNeverCached)
{
    int calls = 0;
    transport.respond("GET", tickerPath, [&calls](const HttpRequest&) {
        ++calls;
        if (calls == 1) {
            return FakeHttpTransport::json(500, R"({"msg":"down"})");
        }
        if (calls == 2) {
            return FakeHttpTransport::json(200, R"({"unexpected":true})");
        }
        return FakeHttpTransport::json(200, tickerBody);
    });
    const HttpRequest request = requestFor(tickerPath);

    EXPECT_EQ(apiError(send<Tickers>(request)), ExchangeAPIError::httpStatus(500, "down"));
    const std::optional<ExchangeAPIError> decoding = apiError(send<Tickers>(request));
    ASSERT_TRUE(decoding);
    EXPECT_EQ(decoding->kind(), ExchangeAPIError::Kind::decoding);
    EXPECT_TRUE(send<Tickers>(request).value);
    EXPECT_TRUE(send<Tickers>(request).value);
    EXPECT_EQ(calls, 3);
}

TEST_F(ExchangeHTTPClientTest, CachedBodyThatDoesNotFitTheTypeThrowsTheDecoderError)
{
    transport.respond("GET", tickerPath, FakeHttpTransport::json(200, tickerBody));
    const HttpRequest request = requestFor(tickerPath);
    ASSERT_TRUE(send<Tickers>(request).value);

    const Outcome<Strings> mismatch = send<Strings>(request);
    EXPECT_FALSE(apiError(mismatch));
    EXPECT_THROW(std::rethrow_exception(mismatch.error), JsonDecodeError);
    // The entry stays for the callers it fits.
    EXPECT_TRUE(send<Tickers>(request).value);
    EXPECT_EQ(transport.requestCount(), 1);
}

TEST_F(ExchangeHTTPClientTest, ConcurrentMissesOfOneUrlBothGoToTheNetwork)
{
    transport.respond("GET", tickerPath, FakeHttpTransport::json(200, tickerBody));
    transport.setHolding(true);
    const HttpRequest request = requestFor(tickerPath);

    QCoro::Task<Tickers> first = client.send<Tickers>(request);
    QCoro::Task<Tickers> second = client.send<Tickers>(request);
    EXPECT_EQ(transport.heldCount(), 2);
    transport.releaseAll();

    EXPECT_TRUE(runTask(std::move(first)).value);
    EXPECT_TRUE(runTask(std::move(second)).value);
    EXPECT_EQ(transport.requestCount(), 2);
}

// ---- statuses and failures -------------------------------------------------------------------

struct ResponseRow {
    const char* name;
    HttpResponse response;
    std::optional<ExchangeAPIError> expected;
};

TEST(ExchangeHTTPClientMapping, ResponsesMapToTheirErrors)
{
    const auto json = [](int status, QByteArray body) {
        return FakeHttpTransport::json(status, std::move(body));
    };
    const QString failed = QStringLiteral("请求失败");
    const ResponseRow rows[] = {
        {"200", json(200, "[]"), std::nullopt},
        {"204", json(204, ""), std::nullopt},
        {"299", json(299, "x"), std::nullopt},
        {"no HTTP status", HttpResponse{std::nullopt, {}, "[]"},
         ExchangeAPIError::invalidResponse()},
        {"msg string", json(503, R"({"msg":"busy"})"), ExchangeAPIError::httpStatus(503, "busy")},
        {"numbers only", json(400, R"({"msg":1,"code":2})"),
         ExchangeAPIError::httpStatus(400, failed)},
        {"HTML page",
         HttpResponse{502, {{"Content-Type", "text/html"}}, "<html><body>Bad</body></html>"},
         ExchangeAPIError::httpStatus(502, failed)},
        {"message after a numeric msg", json(404, R"({"msg":1,"message":"m"})"),
         ExchangeAPIError::httpStatus(404, "m")},
        {"code string", json(400, R"({"msg":null,"message":{},"code":"-1121"})"),
         ExchangeAPIError::httpStatus(400, "-1121")},
        {"empty msg counts", json(400, R"({"msg":"","message":"m"})"),
         ExchangeAPIError::httpStatus(400, "")},
        {"array body", json(400, R"(["msg"])"), ExchangeAPIError::httpStatus(400, failed)},
        {"bare string body", json(400, R"("msg")"), ExchangeAPIError::httpStatus(400, failed)},
        {"empty body", json(401, ""), ExchangeAPIError::httpStatus(401, failed)},
        {"redirect not followed", json(302, ""), ExchangeAPIError::httpStatus(302, failed)},
        {"300", json(300, R"({"msg":"m"})"), ExchangeAPIError::httpStatus(300, "m")},
        {"429 without Retry-After", json(429, R"({"msg":"slow down"})"),
         ExchangeAPIError::rateLimited(60)},
        {"418", json(418, ""), ExchangeAPIError::rateLimited(60)},
        {"Retry-After in lower case", FakeHttpTransport::json(429, "", {{"retry-after", "7"}}),
         ExchangeAPIError::rateLimited(7)},
    };
    for (const ResponseRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ExchangeHTTPClient::errorForResponse(row.response), row.expected);
    }
}

// Gate names its errors with a "label" beside the message; the label is kept for the connector
// to read, and the user's text stays the message's.
TEST(ExchangeHTTPClientMapping, ErrorLabelIsKeptOutOfTheText)
{
    const ExchangeAPIError labelled = *ExchangeHTTPClient::errorForResponse(FakeHttpTransport::json(
        400, R"({"label":"USER_NOT_FOUND","message":"please transfer funds first"})"));
    EXPECT_EQ(labelled.label(), QStringLiteral("USER_NOT_FOUND"));
    EXPECT_EQ(labelled.errorDescription(), QStringLiteral("HTTP 400：please transfer funds first"));
    EXPECT_NE(labelled, ExchangeAPIError::httpStatus(400, "please transfer funds first"));

    const std::pair<const char*, const char*> rows[] = {
        {R"({"label":"FORBIDDEN"})", "FORBIDDEN"},
        {R"({"label":7,"message":"m"})", ""},
        {R"({"label":null})", ""},
        {R"([{"label":"X"}])", ""},
        {R"({"msg":"m"})", ""},
        {"<html>label</html>", ""},
        {"", ""},
    };
    for (const auto& [body, label] : rows) {
        SCOPED_TRACE(body);
        EXPECT_EQ(ExchangeHTTPClient::errorLabel(QByteArray(body)), QString::fromUtf8(label));
    }
}

TEST(ExchangeHTTPClientMapping, RetryAfterIsReadAsANumberAndKeptWithinBounds)
{
    const std::pair<const char*, double> rows[] = {
        {"120", 120},
        {"1.5", 1.5},
        {"1e3", 1000},
        {"+30", 30},
        {"7200", 3600},
        {"3600", 3600},
        {"3600.5", 3600},
        {"inf", 3600},
        {"+Infinity", 3600},
        {"1e400", 3600},
        {"1", 1},
        {"0.5", 1},
        {"0", 1},
        {"-5", 1},
        {"-inf", 1},
        {"1e-400", 1},
        {"-1e400", 1},
        {"", 60},
        {"abc", 60},
        {"Wed, 21 Oct 2015 07:28:00 GMT", 60},
        {" 30", 60},
        {"30 ", 60},
        {"30s", 60},
        {"+-5", 60},
        {"0x10", 60},
        {"nan", 60},
        {"-nan", 60},
    };
    for (const auto& [text, seconds] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ExchangeHTTPClient::retryAfterSeconds(QByteArray(text)), seconds);
    }
    EXPECT_EQ(ExchangeHTTPClient::retryAfterSeconds(std::nullopt), 60);
}

TEST_F(ExchangeHTTPClientTest, SendThrowsTheMappedErrors)
{
    transport.respond("GET", "/busy", FakeHttpTransport::json(503, R"({"msg":"busy"})"));
    transport.respond("GET", "/limited",
                      FakeHttpTransport::json(429, "", {{"Retry-After", "7200"}}));
    transport.respond("GET", "/odd", HttpResponse{std::nullopt, {}, "[]"});
    transport.fail("GET", "/down");

    const std::optional<ExchangeAPIError> busy = apiError(send<Strings>(requestFor("/busy")));
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy->errorDescription(), QStringLiteral("HTTP 503：busy"));
    EXPECT_EQ(apiError(send<Strings>(requestFor("/limited"))), ExchangeAPIError::rateLimited(3600));
    EXPECT_EQ(apiError(send<Strings>(requestFor("/odd"))), ExchangeAPIError::invalidResponse());
    EXPECT_EQ(apiError(send<Strings>(requestFor("/down"))), ExchangeAPIError::network());
}

TEST_F(ExchangeHTTPClientTest, RequestReachesTheTransportUnchanged)
{
    transport.respond("POST", "/api/v5/account", FakeHttpTransport::json(200, "[]"));
    HttpRequest request = requestFor("/api/v5/account", QStringLiteral("a=1&b=%2F"));
    request.method = "POST";
    request.headers = {{"OK-ACCESS-KEY", "k"}, {"Content-Type", "application/json"}};
    request.body = R"({"x":1})";
    request.timeout = std::chrono::milliseconds(1234);

    ASSERT_TRUE(send<Strings>(request).value);
    ASSERT_EQ(transport.requestCount(), 1);
    const HttpRequest& sent = transport.requests().front();
    EXPECT_EQ(sent.url, request.url);
    EXPECT_EQ(sent.method, request.method);
    EXPECT_EQ(sent.headers, request.headers);
    EXPECT_EQ(sent.body, request.body);
    EXPECT_EQ(sent.timeout, request.timeout);
}

// ---- decoding --------------------------------------------------------------------------------

TEST_F(ExchangeHTTPClientTest, NullBodyIsAbsentOnlyForAnOptionalType)
{
    transport.respond("GET", "/futures", FakeHttpTransport::json(200, "null"));
    transport.respond("GET", "/empty", FakeHttpTransport::json(200, ""));

    const Outcome<std::optional<Strings>> optional =
        send<std::optional<Strings>>(requestFor("/futures"));
    ASSERT_TRUE(optional.value);
    EXPECT_EQ(*optional.value, std::nullopt);

    const std::optional<ExchangeAPIError> required =
        apiError(send<Strings>(requestFor("/futures")));
    ASSERT_TRUE(required);
    EXPECT_EQ(required->kind(), ExchangeAPIError::Kind::decoding);
    EXPECT_FALSE(required->message().isEmpty());

    const std::optional<ExchangeAPIError> empty =
        apiError(send<std::optional<Strings>>(requestFor("/empty")));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->kind(), ExchangeAPIError::Kind::decoding);
}

// ---- error texts -----------------------------------------------------------------------------

TEST(ExchangeAPIErrorText, EveryCaseHasItsText)
{
    const std::pair<ExchangeAPIError, const char*> rows[] = {
        {ExchangeAPIError::httpStatus(404, "Not Found"), "HTTP 404：Not Found"},
        {ExchangeAPIError::api("Invalid API-key"), "Invalid API-key"},
        {ExchangeAPIError::decoding("expected an array"), "交易所返回的数据格式暂不支持"},
        {ExchangeAPIError::rateLimited(30), "请求频率受限，将自动延后重试"},
        {ExchangeAPIError::invalidURL(), "API 地址无效"},
        {ExchangeAPIError::invalidResponse(), "交易所返回了无效响应"},
        {ExchangeAPIError::missingCredentials(), "尚未配置 API 凭证"},
        {ExchangeAPIError::network(), "网络请求失败，请检查网络后重试"},
    };
    for (const auto& [error, text] : rows) {
        EXPECT_EQ(error.errorDescription(), QString::fromUtf8(text));
        EXPECT_STREQ(error.what(), text);
    }
    EXPECT_EQ(ExchangeAPIError::rateLimited(30).retryAfterSeconds(), 30);
    EXPECT_EQ(ExchangeAPIError::httpStatus(404, "x").statusCode(), 404);
}

}  // namespace
}  // namespace vantrell
