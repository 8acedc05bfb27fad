// How long a transfer may last and how large its body may grow: a server that stays silent, one
// that trickles bytes for ever, and bodies past their cap, packed or not.

#include "networking/NetworkHttpTransport.h"

#include "networking/ReplyWatch.h"
#include "support/ExchangeAPIErrorPrinter.h"
#include "support/LoopbackTransportHarness.h"
#include "support/SpinUntil.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QNetworkReply>

#include <memory>

namespace vantrell {

namespace {

using namespace std::chrono_literals;

class NetworkHttpTransportLimitsTest : public test::LoopbackTransportHarness {};

TEST_F(NetworkHttpTransportLimitsTest, SilentServerTimesOutAsANetworkError)
{
    server.route("GET", "/silent", LoopbackReply::never());
    server.route("GET", "/late", LoopbackReply::json(200, "[]").delayedBy(50ms));
    HttpRequest silent = get("/silent");
    silent.timeout = 300ms;
    HttpRequest late = get("/late");
    late.timeout = 300ms;
    QElapsedTimer elapsed;
    elapsed.start();

    EXPECT_EQ(errorFor(silent), ExchangeAPIError::network());
    EXPECT_LT(elapsed.elapsed(), 2000);
    EXPECT_EQ(errorFor(late), std::nullopt);
}

// Bytes that keep coming restart the time-out for ever; the deadline does not restart, and past
// it the request fails exactly as a time-out does.
TEST_F(NetworkHttpTransportLimitsTest, TrickledReplyFailsAtItsDeadlineLikeATimeOut)
{
    server.route("GET", "/trickle", LoopbackReply::endless(" ", 10ms));
    HttpRequest request = get("/trickle");  // 2 s of silence allowed
    request.deadline = 300ms;
    QElapsedTimer elapsed;
    elapsed.start();

    const auto outcome = performWithin(request, 5s);
    ASSERT_TRUE(outcome) << "the trickle kept the request open";
    EXPECT_GE(elapsed.elapsed(), 250);  // a coarse timer may fire a little early
    EXPECT_TRUE(outcome->errorAs<HttpTransportError>());
    EXPECT_FALSE(outcome->errorAs<HttpBodyTooLargeError>());
    EXPECT_GT(server.streamedBytes(), 10) << "bytes kept coming";
    EXPECT_EQ(errorFor(request), ExchangeAPIError::network());
}

TEST(HttpRequestDeadline, IsFiveTimesTheTimeOutUnlessGiven)
{
    HttpRequest request;
    EXPECT_EQ(request.effectiveDeadline(), 60s);  // the exchanges' 12 s
    request.timeout = 200ms;
    EXPECT_EQ(request.effectiveDeadline(), 1s);
    request.deadline = 300ms;
    EXPECT_EQ(request.effectiveDeadline(), 300ms);
}

// The cap counts the bytes as they come, before any unpacking: a packed body passes by its
// packed size, and a body one byte over the cap fails, through the client as a network error.
TEST_F(NetworkHttpTransportLimitsTest, BodyPastItsCapIsRefusedPackedOrNot)
{
    QByteArray body = "[";
    for (int i = 0; i < 100; ++i) {
        body += R"("BTCUSDT",)";
    }
    body += R"("ETHUSDT"])";
    const QByteArray packed = qCompress(body).mid(4);  // a zlib stream
    ASSERT_LT(packed.size(), body.size());
    server.route("GET", "/plain", LoopbackReply::json(200, body));
    server.route("GET", "/packed",
                 LoopbackReply::json(200, packed).withHeader("Content-Encoding", "deflate"));
    server.route("GET", "/missing", LoopbackReply::json(404, body));
    const auto capped = [this](const char* path, qsizetype cap) {
        HttpRequest request = get(QString::fromLatin1(path));
        request.maxBodyBytes = cap;
        return request;
    };
    const auto tooLarge = [this](HttpRequest request) {
        return test::runTask(transport.perform(std::move(request)))
            .errorAs<HttpBodyTooLargeError>();
    };

    EXPECT_EQ(test::runTask(transport.perform(capped("/plain", body.size()))).value->body, body);
    EXPECT_EQ(test::runTask(transport.perform(capped("/packed", packed.size()))).value->body, body);
    EXPECT_EQ(tooLarge(capped("/plain", body.size() - 1)).value().statusCode, 200);
    EXPECT_EQ(tooLarge(capped("/packed", packed.size() - 1)).value().statusCode, 200);
    EXPECT_EQ(tooLarge(capped("/missing", 10)).value().statusCode, 404);
    EXPECT_EQ(errorFor(capped("/plain", 10)), ExchangeAPIError::network());
}

// An endless body is given up as soon as it passes the cap, long before any time-out: the reply
// held no more than the cap and a piece or two, and the transfer stops.
TEST_F(NetworkHttpTransportLimitsTest, EndlessBodyIsGivenUpAtItsCap)
{
    constexpr qint64 cap = 1024 * 1024;
    constexpr qint64 piece = 64 * 1024;
    server.route("GET", "/endless", LoopbackReply::endless(QByteArray(piece, ' '), 1ms));
    std::unique_ptr<QNetworkReply> reply(
        manager.get(QNetworkRequest(server.url(QStringLiteral("/endless")))));
    std::optional<ReplyWatch::End> end;
    qint64 held = 0;
    {
        ReplyWatch watch(*reply, {2s, {}, {}, {}, 0ms, cap});
        auto await = [&]() -> QCoro::Task<void> {
            end = co_await watch.ended();
            held = reply->bytesAvailable();
        };
        QCoro::Task<void> waiting = await();
        ASSERT_TRUE(test::spinUntil([&] { return end.has_value(); }, 5s));
    }
    EXPECT_EQ(*end, ReplyWatch::End::tooLarge);
    EXPECT_GT(held, cap);
    EXPECT_LE(held, cap + 4 * piece);
    reply.reset();

    HttpRequest request = get("/endless");
    request.deadline = 1s;  // uncapped, the stream would still end
    request.maxBodyBytes = cap;
    const qint64 streamedBefore = server.streamedBytes();
    const auto outcome = performWithin(request, 5s);
    ASSERT_TRUE(outcome);
    const std::optional<HttpBodyTooLargeError> tooLarge = outcome->errorAs<HttpBodyTooLargeError>();
    ASSERT_TRUE(tooLarge);
    EXPECT_EQ(tooLarge->statusCode, 200);
    test::spinUntil([] { return false; }, 100ms);  // the connection closes meanwhile
    const qint64 streamed = server.streamedBytes() - streamedBefore;
    EXPECT_LT(streamed, 3 * cap);
    test::spinUntil([] { return false; }, 50ms);
    EXPECT_EQ(server.streamedBytes() - streamedBefore, streamed) << "the stream goes on";
}

}  // namespace
}  // namespace vantrell
