#include "concurrency/RequestFanOut.h"

#include "networking/ExchangeAPIError.h"
#include "support/ManualGate.h"

#include <gtest/gtest.h>
#include <QCoroTimer>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vantrell {
namespace {

using Log = std::vector<QString>;

// A request as the transport runs it: it ends when the test opens its gate, or, once the token
// is cancelled, is aborted on the next turn of the event loop and ends with a network error.
struct FakeRequest {
    FakeRequest(QString name, Log& log) : name(std::move(name)), log(&log) {}

    QString name;
    Log* log;
    ManualGate gate;
    std::optional<ExchangeAPIError> failure;  // thrown when the gate opens normally

    template <class T>
    QCoro::Task<T> run(std::shared_ptr<CancellationToken> token, T value)
    {
        log->push_back(QStringLiteral("start ") % name);
        const int registration =
            token->onCancel([this] { QTimer::singleShot(0, [this] { gate.open(); }); });
        co_await gate.opened();
        token->removeCallback(registration);
        if (token->isCancelled()) {
            log->push_back(QStringLiteral("aborted ") % name);
            throw ExchangeAPIError::network();
        }
        log->push_back(QStringLiteral("ended ") % name);
        if (failure) {
            throw *failure;
        }
        co_return value;
    }

    QCoro::Task<void> runVoid(std::shared_ptr<CancellationToken> token)
    {
        co_await run<int>(std::move(token), 0);
    }
};

struct Fixture : ::testing::Test {
    Log log;
    FakeRequest a{QStringLiteral("a"), log};
    FakeRequest b{QStringLiteral("b"), log};
    FakeRequest c{QStringLiteral("c"), log};
};

using RequestFanOutTest = Fixture;

TEST_F(RequestFanOutTest, StartsEveryRequestBeforeReadingAnyInTheCallersOrder)
{
    QString text;
    int number = 0;
    auto connector = [&]() -> QCoro::Task<void> {
        RequestFanOut fan;
        auto first = fan.start(a.run<int>(fan.token(), 42));
        auto second = fan.start(b.runVoid(fan.token()));
        auto third = fan.start(c.run<QString>(fan.token(), QStringLiteral("text")));
        number = co_await fan.await(first);
        co_await fan.await(second);
        text = co_await fan.await(third);
        log.push_back(QStringLiteral("done"));
    };
    auto task = connector();
    EXPECT_EQ(log, (Log{"start a", "start b", "start c"}));

    c.gate.open();
    b.gate.open();
    EXPECT_FALSE(task.isReady());
    a.gate.open();

    EXPECT_TRUE(task.isReady());
    EXPECT_EQ(number, 42);
    EXPECT_EQ(text, QStringLiteral("text"));
    EXPECT_EQ(log, (Log{"start a", "start b", "start c", "ended c", "ended b", "ended a", "done"}));
}

TEST_F(RequestFanOutTest, FirstFailureInAwaitOrderCancelsAndSettlesTheRestBeforeRethrowing)
{
    a.failure = ExchangeAPIError::api(QStringLiteral("a failed"));
    b.failure = ExchangeAPIError::api(QStringLiteral("b failed first"));
    std::shared_ptr<CancellationToken> token;
    auto connector = [&]() -> QCoro::Task<QString> {
        RequestFanOut fan;
        token = fan.token();
        auto first = fan.start(a.run<int>(fan.token(), 1));
        auto second = fan.start(b.run<int>(fan.token(), 2));
        auto third = fan.start(c.run<int>(fan.token(), 3));
        try {
            co_await fan.await(first);
            co_await fan.await(second);
            co_await fan.await(third);
        } catch (const ExchangeAPIError& error) {
            log.push_back(QStringLiteral("rethrown"));
            co_return error.message();
        }
        co_return QString();
    };
    auto task = connector();
    b.gate.open();  // fails earlier in time, but is read after a
    EXPECT_FALSE(token->isCancelled());
    a.gate.open();
    EXPECT_TRUE(token->isCancelled());
    EXPECT_FALSE(task.isReady());  // c is still being aborted

    EXPECT_EQ(QCoro::waitFor(task), QStringLiteral("a failed"));
    EXPECT_EQ(
        log, (Log{"start a", "start b", "start c", "ended b", "ended a", "aborted c", "rethrown"}));
}

TEST_F(RequestFanOutTest, ToleratedFailureGivesNothingAndCancelsNothing)
{
    b.failure = ExchangeAPIError::httpStatus(404, QStringLiteral("not found"));
    std::shared_ptr<CancellationToken> token;
    std::optional<int> optional{-1};
    auto connector = [&]() -> QCoro::Task<int> {
        RequestFanOut fan;
        token = fan.token();
        auto required = fan.start(a.run<int>(fan.token(), 1));
        auto tolerated = fan.start(b.run<int>(fan.token(), 2));
        optional = co_await fan.awaitOptional(tolerated);
        co_return co_await fan.await(required);
    };
    auto task = connector();
    b.gate.open();
    EXPECT_EQ(optional, std::nullopt);
    EXPECT_FALSE(token->isCancelled());
    a.gate.open();

    EXPECT_EQ(QCoro::waitFor(task), 1);
}

TEST_F(RequestFanOutTest, AbandonedRequestsAreCancelledAndMayEndAfterTheFanOutIsGone)
{
    std::shared_ptr<CancellationToken> token;
    auto connector = [&]() -> QCoro::Task<int> {
        RequestFanOut fan;
        token = fan.token();
        auto read = fan.start(a.run<int>(fan.token(), 1));
        fan.start(b.run<int>(fan.token(), 2));  // never read
        co_return co_await fan.await(read);
    };
    auto task = connector();
    a.gate.open();
    EXPECT_TRUE(task.isReady());
    EXPECT_TRUE(token->isCancelled());

    // b ends on a later turn of the event loop, with the fan-out long gone.
    QCoro::waitFor(QCoro::sleepFor(std::chrono::milliseconds(0)));
    EXPECT_EQ(log, (Log{"start a", "start b", "ended a", "aborted b"}));
}

TEST_F(RequestFanOutTest, AFanOutWhoseRequestsWereAllReadCancelsNothing)
{
    std::shared_ptr<CancellationToken> token;
    {
        RequestFanOut fan;
        token = fan.token();
        auto only = fan.start(a.run<int>(fan.token(), 1));
        a.gate.open();
        EXPECT_EQ(QCoro::waitFor(fan.await(only)), 1);
    }
    EXPECT_FALSE(token->isCancelled());
}

}  // namespace
}  // namespace vantrell
