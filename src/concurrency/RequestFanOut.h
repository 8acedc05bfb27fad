#pragma once

#include "concurrency/CancellationToken.h"

#include <QCoroTask>

#include <coroutine>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace vantrell {

namespace detail {

// One request started through a fan-out: whether it has finished, how, and who waits for it.
// Shared by the fan-out, the handle and the coroutine that watches the request, so whichever
// goes last frees it.
class FanOutSlot {
public:
    class Completion {
    public:
        explicit Completion(FanOutSlot& slot) : m_slot(slot) {}
        bool await_ready() const noexcept { return m_slot.m_finished; }
        void await_suspend(std::coroutine_handle<> waiter) { m_slot.m_waiters.push_back(waiter); }
        void await_resume() const noexcept {}

    private:
        FanOutSlot& m_slot;
    };

    virtual ~FanOutSlot() = default;

    bool isFinished() const { return m_finished; }
    const std::exception_ptr& error() const { return m_error; }
    bool isAwaited() const { return m_awaited; }
    void setAwaited() { m_awaited = true; }

    // Awaitable that resumes once the request has finished, whatever the result.
    Completion completion() { return Completion(*this); }

    // Records the end of the request and resumes everything waiting for it.
    void finish(std::exception_ptr error);

private:
    bool m_finished = false;
    bool m_awaited = false;
    std::exception_ptr m_error;
    std::vector<std::coroutine_handle<>> m_waiters;
};

template <class T>
class FanOutResult : public FanOutSlot {
public:
    std::optional<T> value;
};

template <>
class FanOutResult<void> : public FanOutSlot {
};

}  // namespace detail

// Runs the requests of one refresh side by side and reads them in a fixed order.
//
// A connector starts every request first, then awaits the handles in its own order. The first
// failure in that order wins: the fan-out cancels the shared token (the transport aborts the
// other transfers), waits until every other started request has ended, and then rethrows the
// failure, so no request outlives the refresh that started it. A request that failed earlier in
// time but is awaited later is never reported.
//
//     RequestFanOut fan;
//     auto balances = fan.start(fetchBalances(fan.token()));
//     auto positions = fan.start(fetchPositions(fan.token()));
//     Balances b = co_await fan.await(balances);
//     Positions p = co_await fan.await(positions);
//
// Handles and watcher coroutines share the state, so requests that end after the fan-out is gone
// are harmless. Used on one thread only.
class RequestFanOut {
    struct State {
        std::shared_ptr<CancellationToken> token = CancellationToken::create();
        std::vector<std::shared_ptr<detail::FanOutSlot>> requests;
    };

public:
    template <class T>
    class Handle {
    public:
        Handle() = default;

    private:
        friend class RequestFanOut;
        explicit Handle(std::shared_ptr<detail::FanOutResult<T>> slot) : m_slot(std::move(slot)) {}
        std::shared_ptr<detail::FanOutResult<T>> m_slot;
    };

    RequestFanOut();
    // Cancels the token when a started request was never awaited: nobody will read its result.
    ~RequestFanOut();
    RequestFanOut(const RequestFanOut&) = delete;
    RequestFanOut& operator=(const RequestFanOut&) = delete;

    // The token to put into every request of this fan-out.
    const std::shared_ptr<CancellationToken>& token() const { return m_state->token; }

    // Watches a started request.
    template <class T>
    Handle<T> start(QCoro::Task<T> task)
    {
        auto slot = std::make_shared<detail::FanOutResult<T>>();
        m_state->requests.push_back(slot);
        watch<T>(slot, std::move(task));
        return Handle<T>(std::move(slot));
    }

    // The request's result. On failure: cancels the others, awaits all of them, rethrows.
    template <class T>
    QCoro::Task<T> await(Handle<T> handle)
    {
        return awaitRequired<T>(m_state, std::move(handle.m_slot));
    }

    // The result of a request whose failure is tolerated: nothing on error, and the other
    // requests carry on.
    template <class T>
    requires(!std::is_void_v<T>) QCoro::Task<std::optional<T>> awaitOptional(Handle<T> handle)
    {
        return awaitTolerated<T>(std::move(handle.m_slot));
    }

private:
    template <class T>
    static QCoro::Task<void> watch(std::shared_ptr<detail::FanOutResult<T>> slot,
                                   QCoro::Task<T> task)
    {
        std::exception_ptr error;
        try {
            if constexpr (std::is_void_v<T>) {
                co_await task;
            } else {
                T value = co_await task;
                slot->value.emplace(std::move(value));
            }
        } catch (...) {
            error = std::current_exception();
        }
        slot->finish(error);
    }

    template <class T>
    static QCoro::Task<T> awaitRequired(std::shared_ptr<State> state,
                                        std::shared_ptr<detail::FanOutResult<T>> slot)
    {
        slot->setAwaited();
        co_await slot->completion();
        if (slot->error()) {
            co_await cancelAndSettle(state);
            std::rethrow_exception(slot->error());
        }
        if constexpr (!std::is_void_v<T>) {
            co_return std::move(*slot->value);
        }
    }

    template <class T>
    static QCoro::Task<std::optional<T>> awaitTolerated(
        std::shared_ptr<detail::FanOutResult<T>> slot)
    {
        slot->setAwaited();
        co_await slot->completion();
        if (slot->error()) {
            co_return std::nullopt;
        }
        co_return std::move(*slot->value);
    }

    static QCoro::Task<void> cancelAndSettle(std::shared_ptr<State> state);

    std::shared_ptr<State> m_state;
};

}  // namespace vantrell
