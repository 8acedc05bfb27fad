#include "concurrency/TaskJoin.h"

#include "support/ManualGate.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace vantrell {
namespace {

QCoro::Task<int> valueAfter(ManualGate& gate, int value)
{
    co_await gate.opened();
    co_return value;
}

QCoro::Task<int> failureAfter(ManualGate& gate)
{
    co_await gate.opened();
    throw std::runtime_error("failed");
}

QCoro::Task<int> ready(int value)
{
    co_return value;
}

template <class T>
std::vector<QCoro::Task<T>> listOf(QCoro::Task<T> a, QCoro::Task<T> b, QCoro::Task<T> c)
{
    std::vector<QCoro::Task<T>> tasks;
    tasks.push_back(std::move(a));
    tasks.push_back(std::move(b));
    tasks.push_back(std::move(c));
    return tasks;
}

TEST(TaskJoinTest, HandsOverEachResultAsSoonAsItsTaskFinishes)
{
    ManualGate first, second, third;
    TaskJoin<int> join;
    join.add(valueAfter(first, 10));
    join.add(valueAfter(second, 20));
    join.add(valueAfter(third, 30));

    std::vector<std::pair<std::size_t, int>> seen;
    auto consume = [&]() -> QCoro::Task<void> {
        while (auto finished = co_await join.next()) {
            seen.emplace_back(finished->index, finished->value);
        }
    };
    auto consumer = consume();

    third.open();
    EXPECT_EQ(seen, (std::vector<std::pair<std::size_t, int>>{{2, 30}}));
    EXPECT_EQ(join.remaining(), 2u);
    first.open();
    second.open();

    EXPECT_TRUE(consumer.isReady());
    EXPECT_EQ(seen, (std::vector<std::pair<std::size_t, int>>{{2, 30}, {0, 10}, {1, 20}}));
    EXPECT_EQ(join.remaining(), 0u);
}

TEST(TaskJoinTest, QueuesResultsThatFinishBeforeAnyoneAsks)
{
    ManualGate gate;
    TaskJoin<int> join;
    join.add(valueAfter(gate, 1));
    join.add(ready(2));
    gate.open();  // nobody is waiting yet

    std::vector<int> seen;
    auto consume = [&]() -> QCoro::Task<void> {
        while (auto finished = co_await join.next()) {
            seen.push_back(finished->value);
        }
    };
    auto consumer = consume();

    EXPECT_TRUE(consumer.isReady());
    EXPECT_EQ(seen, (std::vector<int>{2, 1}));
}

TEST(TaskJoinTest, WhenAllOrdersByCompletionOrByList)
{
    ManualGate a1, b1, c1, a2, b2, c2;
    auto byCompletion =
        whenAllInCompletionOrder(listOf(valueAfter(a1, 1), valueAfter(b1, 2), valueAfter(c1, 3)));
    auto byList = whenAll(listOf(valueAfter(a2, 1), valueAfter(b2, 2), valueAfter(c2, 3)));
    for (ManualGate* gate : {&c1, &a1, &b1, &c2, &a2, &b2}) {
        gate->open();
    }

    EXPECT_EQ(QCoro::waitFor(byCompletion), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(QCoro::waitFor(byList), (std::vector<int>{1, 2, 3}));
}

TEST(TaskJoinTest, AlreadyFinishedTasksJoinWithoutSuspending)
{
    auto all = whenAllInCompletionOrder(listOf(ready(1), ready(2), ready(3)));
    EXPECT_TRUE(all.isReady());
    EXPECT_EQ(QCoro::waitFor(all), (std::vector<int>{1, 2, 3}));

    TaskJoin<int> empty;
    auto next = [&]() -> QCoro::Task<bool> { co_return (co_await empty.next()).has_value(); };
    EXPECT_FALSE(QCoro::waitFor(next()));
}

TEST(TaskJoinTest, AFailedTaskIsRethrownOnlyAfterTheOthersFinished)
{
    ManualGate failing, slow;
    auto all = whenAll(listOf(ready(1), failureAfter(failing), valueAfter(slow, 3)));
    auto outcome = [&]() -> QCoro::Task<QString> {
        try {
            co_await all;
        } catch (const std::runtime_error&) {
            co_return QStringLiteral("rethrown");
        }
        co_return QStringLiteral("returned");
    };

    failing.open();
    EXPECT_FALSE(all.isReady());
    slow.open();
    EXPECT_TRUE(all.isReady());
    EXPECT_EQ(QCoro::waitFor(outcome()), QStringLiteral("rethrown"));
}

TEST(TaskJoinTest, TasksMayFinishAfterTheJoinIsGone)
{
    ManualGate first, late;
    int firstValue = 0;
    {
        auto takeFirst = [&]() -> QCoro::Task<void> {
            TaskJoin<int> join;
            join.add(valueAfter(first, 7));
            join.add(valueAfter(late, 8));
            firstValue = (co_await join.next())->value;
        };
        auto consumer = takeFirst();
        first.open();  // the consumer ends here and its join with it
        EXPECT_TRUE(consumer.isReady());
    }
    EXPECT_EQ(firstValue, 7);
    late.open();  // must find the shared state still there
    EXPECT_FALSE(late.hasWaiters());
}

}  // namespace
}  // namespace vantrell
