#pragma once

#include <QCoroTask>

#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

namespace vantrell::test {

// What a task ended with: its value, or the exception it threw.
template <typename T>
struct TaskResult {
    std::optional<T> value;
    std::exception_ptr error;

    bool succeeded() const { return !error; }

    // The exception as E, or nothing when the task succeeded or threw something else.
    template <typename E>
    std::optional<E> errorAs() const
    {
        if (!error) {
            return std::nullopt;
        }
        try {
            std::rethrow_exception(error);
        } catch (const E& e) {
            return e;
        } catch (...) {
            return std::nullopt;
        }
    }
};

template <>
struct TaskResult<void> {
    std::exception_ptr error;

    bool succeeded() const { return !error; }

    template <typename E>
    std::optional<E> errorAs() const
    {
        return TaskResult<int>{std::nullopt, error}.errorAs<E>();
    }
};

// Awaits `task` and hands back its outcome as a value. QCoro::waitFor cannot carry an
// exception out of its nested event loop (it never returns), so tests await through this.
template <typename T>
QCoro::Task<TaskResult<T>> settle(QCoro::Task<T> task)
{
    TaskResult<T> result;
    try {
        if constexpr (std::is_void_v<T>) {
            co_await std::move(task);
        } else {
            // Bound to a local first: g++ 12 mishandles co_await inside a larger expression.
            T value = co_await std::move(task);
            result.value.emplace(std::move(value));
        }
    } catch (...) {
        result.error = std::current_exception();
    }
    co_return result;
}

// Runs the event loop until `task` has finished and returns its outcome.
template <typename T>
TaskResult<T> runTask(QCoro::Task<T> task)
{
    return QCoro::waitFor(settle(std::move(task)));
}

}  // namespace vantrell::test
