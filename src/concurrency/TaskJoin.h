#pragma once

#include <QCoroTask>

#include <QtGlobal>

#include <coroutine>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vantrell {

// Awaits several running tasks and hands over their results in the order in which they finish.
//
// QCoro tasks start eagerly and QCoro 0.8 has no `whenAll`, so the join only watches: add()
// moves each task into a small watcher coroutine that queues the result (or the exception) and
// wakes the one caller suspended in next(). A task that finished before add() is queued at once.
// The queue is shared with the watchers, so a task that finishes after the join is gone does no
// harm. Used on one thread only, by one consumer at a time.
template <class T>
class TaskJoin {
    struct Entry {
        std::size_t index = 0;
        std::optional<T> value;
        std::exception_ptr error;
    };

    struct State {
        std::size_t added = 0;
        std::size_t running = 0;
        std::deque<Entry> finished;
        std::coroutine_handle<> waiter;
    };

public:
    // One finished task: its position in the order of add() and its result.
    struct Finished {
        std::size_t index = 0;
        T value;
    };

    // The awaitable of next(). Resumes with the next finished task, or with nothing when every
    // added task has already been handed over.
    class NextAwaiter {
    public:
        explicit NextAwaiter(std::shared_ptr<State> state) : m_state(std::move(state)) {}

        bool await_ready() const noexcept
        {
            return !m_state->finished.empty() || m_state->running == 0;
        }
        void await_suspend(std::coroutine_handle<> waiter) noexcept
        {
            Q_ASSERT(!m_state->waiter);  // one consumer at a time
            m_state->waiter = waiter;
        }
        // Rethrows the exception of a task that threw.
        std::optional<Finished> await_resume()
        {
            if (m_state->finished.empty()) {
                return std::nullopt;
            }
            Entry entry = std::move(m_state->finished.front());
            m_state->finished.pop_front();
            if (entry.error) {
                std::rethrow_exception(entry.error);
            }
            return Finished{entry.index, std::move(*entry.value)};
        }

    private:
        std::shared_ptr<State> m_state;
    };

    TaskJoin() : m_state(std::make_shared<State>()) {}

    // Watches a started task; returns its index (0, 1, 2, ... in the order of the calls).
    std::size_t add(QCoro::Task<T> task)
    {
        const std::size_t index = m_state->added++;
        ++m_state->running;
        // The watcher's own task is dropped: QCoro frees its frame when it finishes.
        watch(m_state, index, std::move(task));
        return index;
    }

    // Tasks added and not yet handed over by next().
    std::size_t remaining() const { return m_state->running + m_state->finished.size(); }

    NextAwaiter next() { return NextAwaiter(m_state); }

private:
    static QCoro::Task<void> watch(std::shared_ptr<State> state, std::size_t index,
                                   QCoro::Task<T> task)
    {
        Entry entry;
        entry.index = index;
        try {
            // Awaited as its own statement: g++ 12 mishandles temporaries of an argument that
            // contains co_await.
            T value = co_await task;
            entry.value.emplace(std::move(value));
        } catch (...) {
            entry.error = std::current_exception();
        }
        --state->running;
        state->finished.push_back(std::move(entry));
        // The consumer may drop the join while it runs; `state` is ours and stays valid.
        if (auto waiter = std::exchange(state->waiter, {})) {
            waiter.resume();
        }
    }

    std::shared_ptr<State> m_state;
};

namespace detail {

// Awaits every task of the join; the first exception in completion order is rethrown once all
// of them have finished, so nothing is left running behind the caller's back.
template <class T, class Place>
QCoro::Task<void> drainJoin(TaskJoin<T>& join, Place place)
{
    std::exception_ptr firstError;
    while (join.remaining() > 0) {
        try {
            if (auto finished = co_await join.next()) {
                place(std::move(*finished));
            }
        } catch (...) {
            if (!firstError) {
                firstError = std::current_exception();
            }
        }
    }
    if (firstError) {
        std::rethrow_exception(firstError);
    }
}

}  // namespace detail

// The results of all tasks in the order in which they finished.
template <class T>
QCoro::Task<std::vector<T>> whenAllInCompletionOrder(std::vector<QCoro::Task<T>> tasks)
{
    TaskJoin<T> join;
    for (auto& task : tasks) {
        join.add(std::move(task));
    }
    std::vector<T> results;
    results.reserve(tasks.size());
    co_await detail::drainJoin(join, [&results](typename TaskJoin<T>::Finished finished) {
        results.push_back(std::move(finished.value));
    });
    co_return results;
}

// The results of all tasks in the order of the given list.
template <class T>
QCoro::Task<std::vector<T>> whenAll(std::vector<QCoro::Task<T>> tasks)
{
    TaskJoin<T> join;
    for (auto& task : tasks) {
        join.add(std::move(task));
    }
    std::vector<std::optional<T>> ordered(tasks.size());
    co_await detail::drainJoin(join, [&ordered](typename TaskJoin<T>::Finished finished) {
        ordered[finished.index].emplace(std::move(finished.value));
    });
    std::vector<T> results;
    results.reserve(ordered.size());
    for (auto& slot : ordered) {
        results.push_back(std::move(*slot));
    }
    co_return results;
}

}  // namespace vantrell
