#include "networking/NetworkHttpTransport.h"

#include "networking/ExchangeHTTPClient.h"
#include "networking/ReplyWatch.h"
#include "support/ExchangeAPIErrorPrinter.h"
#include "support/LoopbackTransportHarness.h"
#include "support/OutputCapture.h"
#include "support/PackedText.h"
#include "support/SpinUntil.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QNetworkReply>
#include <QProcess>

#include <exception>
#include <map>
#include <memory>
#include <ostream>
#include <utility>

namespace vantrell {

namespace {

using namespace std::chrono_literals;

class NetworkHttpTransportTest : public test::LoopbackTransportHarness {};

TEST_F(NetworkHttpTransportTest, SuccessfulReplyDecodesThroughTheSharedTransport)
{
    server.route("GET", "/api/v3/ticker/price",
                 LoopbackReply::json(200, R"(["BTCUSDT","ETHUSDT"])"));
    const ExchangeHTTPClient shared(NetworkHttpTransport::shared(), cache, clock);

    const Strings symbols =
        QCoro::waitFor(shared.send<Strings>(get("/api/v3/ticker/price", "symbols=%5B%22A%22%5D")));

    EXPECT_EQ(symbols, (Strings{"BTCUSDT", "ETHUSDT"}));
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().front().method, "GET");
    EXPECT_EQ(server.requests().front().query, "symbols=%5B%22A%22%5D");
}

TEST_F(NetworkHttpTransportTest, MethodHeadersAndBodyArriveAsBuilt)
{
    server.route("POST", "/api/v5/account", LoopbackReply::json(200, "[]"));
    HttpRequest request = get("/api/v5/account");
    request.method = "POST";
    request.headers = {{"X-Zeta", "1"}, {"X-Alpha", "2"}, {"X-Mid", "3"}};
    request.body = R"({"ccy":"BTC"})";

    ASSERT_EQ(errorFor(request), std::nullopt);

    ASSERT_EQ(server.requests().size(), 1);
    const RecordedRequest& received = server.requests().front();
    EXPECT_EQ(received.method, "POST");
    EXPECT_EQ(received.body, request.body);
    QList<RecordedRequest::Header> ours;
    for (const auto& header : received.headers) {
        if (header.first.startsWith("X-")) {
            ours.append(header);
        }
    }
    EXPECT_EQ(ours, request.headers);
}

// A body-less POST (Binance's funding call) must still announce its length: without it a server
// may answer 411 Length Required.
TEST_F(NetworkHttpTransportTest, EmptyBodyIsAnnouncedOnlyWhereTheMethodCarriesContent)
{
    const std::tuple<QByteArray, QByteArray, std::optional<QByteArray>> rows[] = {
        {"POST", "", "0"},          {"PUT", "", "0"},          {"PATCH", "", "0"},
        {"POST", "a=1", "3"},       {"GET", "", std::nullopt}, {"DELETE", "", std::nullopt},
        {"HEAD", "", std::nullopt},
    };
    for (const auto& [method, body, length] : rows) {
        SCOPED_TRACE(method.constData() + (" " + body.toStdString()));
        server.route(method, "/call", LoopbackReply::json(200, "[]"));
        HttpRequest request = get("/call");
        request.method = method;
        request.headers = {{"Content-Type", "application/x-www-form-urlencoded"}};
        request.body = body;
        const qsizetype before = server.requests().size();

        ASSERT_NO_THROW(QCoro::waitFor(transport.perform(request)));

        ASSERT_EQ(server.requests().size(), before + 1);
        const RecordedRequest& received = server.requests().back();
        EXPECT_EQ(received.method, method);
        EXPECT_EQ(received.header("Content-Length"), length);
        EXPECT_FALSE(received.header("Transfer-Encoding"));
        const auto lengths =
            std::count_if(received.headers.begin(), received.headers.end(), [](const auto& header) {
                return header.first.compare("Content-Length", Qt::CaseInsensitive) == 0;
            });
        EXPECT_LE(lengths, 1);
    }
}

TEST_F(NetworkHttpTransportTest, ErrorStatusesAreResponsesWithTheirBodies)
{
    const std::tuple<QByteArray, LoopbackReply, ExchangeAPIError> rows[] = {
        {"/400", LoopbackReply::json(400, R"({"code":-1102,"msg":"bad"})"),
         ExchangeAPIError::httpStatus(400, "bad")},
        {"/401", LoopbackReply::json(401, R"({"code":-2015,"msg":"Invalid API-key"})"),
         ExchangeAPIError::httpStatus(401, "Invalid API-key")},
        {"/403", LoopbackReply::html(403, "<html>Forbidden</html>"),
         ExchangeAPIError::httpStatus(403, QStringLiteral("请求失败"))},
        {"/404", LoopbackReply::json(404, R"({"message":"Not Found"})"),
         ExchangeAPIError::httpStatus(404, "Not Found")},
        {"/500", LoopbackReply::json(500, R"({"msg":"internal"})"),
         ExchangeAPIError::httpStatus(500, "internal")},
        {"/503", LoopbackReply::json(503, R"({"msg":"busy"})"),
         ExchangeAPIError::httpStatus(503, "busy")},
        {"/429", LoopbackReply::json(429, "{}").withHeader("Retry-After", "7"),
         ExchangeAPIError::rateLimited(7)},
        {"/418", LoopbackReply::json(418, "{}").withHeader("retry-after", "99999"),
         ExchangeAPIError::rateLimited(3600)},
    };
    for (const auto& [path, reply, expected] : rows) {
        server.route("GET", path, reply);
    }
    for (const auto& [path, reply, expected] : rows) {
        SCOPED_TRACE(path.constData());
        EXPECT_EQ(errorFor(get(QString::fromLatin1(path))), expected);
    }
}

TEST_F(NetworkHttpTransportTest, CompressedErrorBodyIsNotTakenForACutShortOne)
{
    // A tiny body grows when compressed, so the announced length exceeds the decoded one.
    const QByteArray body = R"({"msg":"z"})";
    LoopbackReply reply = LoopbackReply::json(404, qCompress(body).mid(4));  // zlib stream
    server.route("GET", "/deflated", reply.withHeader("Content-Encoding", "deflate"));
    ASSERT_GT(reply.body.size(), body.size());

    EXPECT_EQ(errorFor(get("/deflated")), ExchangeAPIError::httpStatus(404, "z"));
}

// The transport asks for compressed replies and unpacks them itself; one it cannot unpack is as
// good as a failed transfer.
TEST_F(NetworkHttpTransportTest, CompressedRepliesArriveUnpacked)
{
    const QByteArray body = R"(["BTCUSDT","ETHUSDT"])";
    server.route("GET", "/packed",
                 LoopbackReply::json(200, qCompress(body).mid(4))  // a zlib stream
                     .withHeader("Content-Encoding", "deflate"));
    server.route(
        "GET", "/damaged",
        LoopbackReply::json(200, "not a gzip stream").withHeader("Content-Encoding", "gzip"));

    EXPECT_EQ(runForError(client.send<Strings>(get("/packed"))), std::nullopt);
    EXPECT_EQ(QCoro::waitFor(client.send<Strings>(get("/packed"))),
              (Strings{"BTCUSDT", "ETHUSDT"}));
    ASSERT_FALSE(server.requests().isEmpty());
    EXPECT_EQ(server.requests().front().header("Accept-Encoding"), "gzip, deflate");
    EXPECT_EQ(errorFor(get("/damaged")), ExchangeAPIError::network());
}

// A gzip body may come in several members; Qt's own decoder reads them all, and so must ours.
TEST_F(NetworkHttpTransportTest, GzipReplyOfSeveralMembersArrivesWhole)
{
    const QByteArray body = test::packed(R"(["BTCUSDT",)", test::gzipWindow) +
                            test::packed(R"("ETHUSDT"])", test::gzipWindow);
    server.route("GET", "/members",
                 LoopbackReply::json(200, body).withHeader("Content-Encoding", "gzip"));

    const test::TaskResult<Strings> result = test::runTask(client.send<Strings>(get("/members")));
    EXPECT_EQ(result.errorAs<ExchangeAPIError>(), std::nullopt);
    EXPECT_EQ(result.value, (Strings{"BTCUSDT", "ETHUSDT"}));
}

TEST_F(NetworkHttpTransportTest, RefusedConnectionIsANetworkError)
{
    auto gone = std::make_unique<LoopbackServer>();
    const QUrl url = gone->url(QStringLiteral("/api/v3/account"));
    gone->close();
    HttpRequest request;
    request.url = url;

    EXPECT_EQ(errorFor(request), ExchangeAPIError::network());
}

TEST_F(NetworkHttpTransportTest, BodyCutShortIsANetworkErrorWhateverTheStatus)
{
    server.route("GET", "/cut", LoopbackReply::json(200, R"(["complete","array"])").truncated());
    server.route("GET", "/cut404", LoopbackReply::json(404, R"({"msg":"gone"})").truncated());

    EXPECT_EQ(errorFor(get("/cut")), ExchangeAPIError::network());
    EXPECT_EQ(errorFor(get("/cut404")), ExchangeAPIError::network());
}

TEST_F(NetworkHttpTransportTest, CancellingTheTokenEndsTheTransfer)
{
    server.route("GET", "/slow", LoopbackReply::never());
    HttpRequest request = get("/slow");
    request.cancellation = CancellationToken::create();
    QObject::connect(&server, &LoopbackServer::requestReceived,
                     [token = request.cancellation] { token->cancel(); });
    QElapsedTimer elapsed;
    elapsed.start();

    EXPECT_EQ(errorFor(request), ExchangeAPIError::network());
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_LT(elapsed.elapsed(), 1000);
}

// At quit, a request the server never answers must not leave its coroutine suspended.
TEST_F(NetworkHttpTransportTest, ShuttingDownEndsOpenTransfersAndRefusesNewOnes)
{
    server.route("GET", "/silent", LoopbackReply::never());
    std::optional<test::TaskResult<HttpResponse>> outcome;
    auto await = [&]() -> QCoro::Task<void> {
        outcome = co_await test::settle(transport.perform(get("/silent")));
    };
    QCoro::Task<void> pending = await();
    ASSERT_TRUE(test::spinUntil([&] { return server.requests().size() == 1; }));
    ASSERT_FALSE(outcome);

    transport.shutDown();
    ASSERT_TRUE(outcome) << "the awaiting coroutine resumes inside shutDown()";
    EXPECT_TRUE(outcome->errorAs<HttpTransportError>());

    EXPECT_TRUE(test::runTask(transport.perform(get("/silent"))).errorAs<HttpTransportError>());
    test::spinUntil([] { return false; }, 50ms);
    EXPECT_EQ(server.requests().size(), 1);
}

// Each failed transfer ends once: Qt warns when a reply that already failed is aborted again.
TEST_F(NetworkHttpTransportTest, FailedTransfersEndWithoutWarnings)
{
    server.route("GET", "/silent", LoopbackReply::never());
    server.route("GET", "/closed", LoopbackReply::closeUnanswered());
    server.route("GET", "/cut", LoopbackReply::json(200, R"(["complete","array"])").truncated());
    OutputCapture capture;
    HttpRequest silent = get("/silent");
    silent.timeout = 200ms;
    const bool timedOut = errorFor(silent) == ExchangeAPIError::network();
    const bool closed = errorFor(get("/closed")) == ExchangeAPIError::network();
    const bool cut = errorFor(get("/cut")) == ExchangeAPIError::network();

    HttpRequest cancelled = get("/silent");
    cancelled.cancellation = CancellationToken::create();
    QObject::connect(&server, &LoopbackServer::requestReceived,
                     [token = cancelled.cancellation] { token->cancel(); });
    const bool aborted = errorFor(cancelled) == ExchangeAPIError::network();
    test::spinUntil([] { return false; }, 100ms);  // whatever Qt reports late
    const OutputCapture::Captured printed = capture.finish();

    EXPECT_TRUE(timedOut && closed && cut && aborted);
    EXPECT_TRUE(printed.messages.isEmpty()) << printed.messages.join(u'\n').toStdString();
    EXPECT_TRUE(printed.output.isEmpty()) << printed.output.toStdString();
}

// A fan-out cancels its other requests while one of them is failing on its own: the server
// closes the connection in the same moment. The failure is already on its way from Qt's network
// thread, and a reply aborted meanwhile would be told of it as a second error.
TEST_F(NetworkHttpTransportTest, CancellingAFailingTransferEndsItOnce)
{
    server.route("GET", "/closed", LoopbackReply::closeUnanswered());
    std::shared_ptr<CancellationToken> current;
    QObject::connect(&server, &LoopbackServer::requestReceived, [&current] {
        if (current) {
            current->cancel();
        }
    });
    OutputCapture capture;
    int failed = 0;
    for (int round = 0; round < 20; ++round) {
        HttpRequest request = get("/closed");
        request.cancellation = current = CancellationToken::create();
        failed += errorFor(request) == ExchangeAPIError::network() ? 1 : 0;
    }
    test::spinUntil([] { return false; }, 100ms);  // whatever Qt reports late
    const OutputCapture::Captured printed = capture.finish();

    EXPECT_EQ(failed, 20);
    EXPECT_TRUE(printed.messages.isEmpty()) << printed.messages.join(u'\n').toStdString();
}

// A reply given up on is let go, never aborted: its own outcome, if any, still reaches it.
TEST_F(NetworkHttpTransportTest, GivenUpRepliesAreNeverAborted)
{
    server.route("GET", "/silent", LoopbackReply::never());
    const std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(server.url("/silent"))));
    std::optional<ReplyWatch::End> end;
    {
        ReplyWatch watch(*reply, {std::chrono::milliseconds(50), {}, {}, {}});
        auto await = [&]() -> QCoro::Task<void> { end = co_await watch.ended(); };
        QCoro::Task<void> waiting = await();
        ASSERT_TRUE(test::spinUntil([&] { return end.has_value(); }));
    }
    EXPECT_EQ(*end, ReplyWatch::End::timedOut);
    EXPECT_EQ(reply->error(), QNetworkReply::NoError);
    EXPECT_FALSE(reply->isFinished());
}

TEST_F(NetworkHttpTransportTest, AlreadyCancelledRequestIsNeverSent)
{
    HttpRequest request = get("/any");
    request.cancellation = CancellationToken::create();
    request.cancellation->cancel();

    EXPECT_EQ(errorFor(request), ExchangeAPIError::network());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(NetworkHttpTransportTest, RedirectWithinTheOriginIsFollowed)
{
    server.route("GET", "/old", LoopbackReply::redirect(302, server.url(QStringLiteral("/new"))));
    server.route("GET", "/new", LoopbackReply::json(200, R"(["moved"])"));
    HttpRequest request = get("/old");
    request.headers = {{"X-MBX-APIKEY", "key"}};

    EXPECT_EQ(QCoro::waitFor(client.send<Strings>(request)), Strings{"moved"});
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests().at(1).header("X-MBX-APIKEY"), QByteArray("key"));
}

TEST_F(NetworkHttpTransportTest, RedirectToAnotherOriginComesBackUnfollowed)
{
    LoopbackServer elsewhere;
    elsewhere.route("GET", "/steal", LoopbackReply::json(200, R"(["followed"])"));
    server.route("GET", "/old",
                 LoopbackReply::redirect(302, elsewhere.url(QStringLiteral("/steal")))
                     .withHeader("X-Trace", "t1"));
    HttpRequest request = get("/old");
    request.headers = {{"X-MBX-APIKEY", "key"}};

    EXPECT_EQ(errorFor(request), ExchangeAPIError::httpStatus(302, QStringLiteral("请求失败")));
    EXPECT_TRUE(elsewhere.requests().isEmpty());

    // The transport itself hands back the 3xx response with its headers.
    const HttpResponse response = QCoro::waitFor(transport.perform(request));
    EXPECT_EQ(response.statusCode, 302);
    EXPECT_EQ(response.header("x-trace"), QByteArray("t1"));
    EXPECT_TRUE(elsewhere.requests().isEmpty());
}

// Over TLS Qt opens six connections per host and queues further requests. When it gives up on a
// request whose connection was closed without a reply, it fails the queued ones with the same
// error, although they never went out: they must still succeed, each reaching the server once.
TEST_F(NetworkHttpTransportTest, ConnectionClosedWithoutReplyFailsThatRequestAlone)
{
    LoopbackServer tls(LoopbackServer::Scheme::https);
    tls.route("GET", "/closed", LoopbackReply::closeUnanswered());
    HttpRequest alone;
    alone.url = tls.url(QStringLiteral("/closed"));
    alone.timeout = 5s;
    ASSERT_EQ(errorFor(alone), ExchangeAPIError::network());
    // Qt itself may send it more than once; how often, the server counts here.
    const qsizetype sendsOfOne = tls.requests().size();
    constexpr int innocentCount = 24;
    constexpr int faulted = 12;
    std::vector<QCoro::Task<Strings>> sends;
    std::map<std::string, int> innocentPaths;  // each received once
    for (int i = 0; i <= innocentCount; ++i) {
        HttpRequest request;
        request.timeout = 5s;
        if (i == faulted) {
            request.url = tls.url(QStringLiteral("/closed"));
        } else {
            // Every third one a body-less POST, like Binance's funding call.
            const QByteArray method = i % 3 == 0 ? "POST" : "GET";
            const QByteArray path = "/ok" + QByteArray::number(i);
            tls.route(method, path, LoopbackReply::json(200, "[\"" + path + "\"]").delayedBy(20ms));
            request.url = tls.url(QString::fromLatin1(path));
            request.method = method;
            innocentPaths[path.toStdString()] = 1;
        }
        sends.push_back(client.send<Strings>(std::move(request)));
    }

    for (int i = 0; i <= innocentCount; ++i) {
        SCOPED_TRACE(i);
        test::TaskResult<Strings> result = test::runTask(std::move(sends[i]));
        if (i == faulted) {
            const std::optional<ExchangeAPIError> error = result.errorAs<ExchangeAPIError>();
            EXPECT_EQ(error, ExchangeAPIError::network());
            continue;
        }
        EXPECT_TRUE(result.succeeded());
        EXPECT_EQ(result.value, Strings{u"/ok"_qs + QString::number(i)});
    }
    std::map<std::string, int> received;
    for (const RecordedRequest& request : tls.requests()) {
        ++received[request.path.toStdString()];
    }
    // The faulted request went out as often as on its own: the transport added no send.
    EXPECT_EQ(received["/closed"], 2 * sendsOfOne);
    received.erase("/closed");
    EXPECT_EQ(received, innocentPaths);
}

// The shared manager must be gone before the application object: Qt's network thread would
// otherwise close a kept TLS connection after it, and print a warning at every exit.
TEST(NetworkHttpTransportShared, ProgramExitsQuietlyAfterATlsRequest)
{
    QProcess program;
    program.start(QStringLiteral(VANTRELL_SHARED_TRANSPORT_EXIT_PROGRAM), {});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardError().toStdString(), "");
}

TEST(NetworkHttpTransportOrigin, SameOriginNeedsSchemeHostAndPort)
{
    const auto url = [](const char* text) { return QUrl(QString::fromLatin1(text)); };
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"https://api.example.com/a", "https://api.example.com/b?x=1", true},
        {"https://api.example.com/a", "https://API.example.com:443/b", true},
        {"http://127.0.0.1:8080/a", "http://127.0.0.1:8080/b", true},
        {"https://api.example.com/a", "http://api.example.com/a", false},
        {"https://api.example.com/a", "https://api.example.com:8443/a", false},
        {"https://api.example.com/a", "https://evil.example.com/a", false},
        {"https://api.example.com/a", "https://api.example.com.evil.net/a", false},
        {"http://127.0.0.1:8080/a", "http://127.0.0.1:8081/a", false},
    };
    for (const auto& [from, to, same] : rows) {
        SCOPED_TRACE(to);
        EXPECT_EQ(NetworkHttpTransport::isSameOrigin(url(from), url(to)), same);
    }
}

}  // namespace
}  // namespace vantrell
