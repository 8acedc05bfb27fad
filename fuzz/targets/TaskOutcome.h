#pragma once

#include <QCoroTask>

#include <exception>
#include <type_traits>
#include <utility>

namespace vantrell::fuzz {

// Runs `task` to its end (the event loop turns only if it has to wait) and hands back the
// exception it ended with, if any. QCoro::waitFor cannot carry an exception out itself.
// A task's value type cannot be std::exception_ptr itself: QCoro keeps that beside the value.
struct Settled {
    std::exception_ptr failure;
};

template <typename T>
QCoro::Task<Settled> settle(QCoro::Task<T> task)
{
    try {
        if constexpr (std::is_void_v<T>) {
            co_await std::move(task);
        } else {
            [[maybe_unused]] T value = co_await std::move(task);
        }
    } catch (...) {
        co_return Settled{std::current_exception()};
    }
    co_return Settled{};
}

template <typename T>
std::exception_ptr failureOf(QCoro::Task<T> task)
{
    return QCoro::waitFor(settle(std::move(task))).failure;
}

}  // namespace vantrell::fuzz
