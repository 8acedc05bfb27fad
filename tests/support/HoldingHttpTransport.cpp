#include "support/HoldingHttpTransport.h"

#include "support/SpinUntil.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <coroutine>
#include <exception>
#include <utility>
#include <vector>

namespace vantrell {

struct HoldingHttpTransport::State {
    bool holding = false;
    int started = 0;
    int ended = 0;
    std::vector<std::shared_ptr<Hold>> held;
};

struct HoldingHttpTransport::Hold {
    std::coroutine_handle<> waiter;
    bool released = false;
    bool cancelled = false;
};

class HoldingHttpTransport::HoldAwaiter {
public:
    explicit HoldAwaiter(std::shared_ptr<Hold> hold) : m_hold(std::move(hold)) {}
    bool await_ready() const noexcept { return m_hold->released; }
    void await_suspend(std::coroutine_handle<> waiter) noexcept { m_hold->waiter = waiter; }
    void await_resume() const noexcept {}

private:
    std::shared_ptr<Hold> m_hold;
};

// Counts a request as ended however its coroutine leaves: value, exception or cancel.
class HoldingHttpTransport::EndCount {
public:
    explicit EndCount(std::shared_ptr<State> state) : m_state(std::move(state))
    {
        ++m_state->started;
    }
    EndCount(const EndCount&) = delete;
    EndCount& operator=(const EndCount&) = delete;
    ~EndCount() { ++m_state->ended; }

private:
    std::shared_ptr<State> m_state;
};

HoldingHttpTransport::HoldingHttpTransport(HttpTransport& inner)
    : m_inner(inner), m_state(std::make_shared<State>())
{
}

HoldingHttpTransport::~HoldingHttpTransport()
{
    if (inFlight() > 0) {
        ADD_FAILURE() << "HoldingHttpTransport: " << inFlight() << " requests still in flight";
    }
}

void HoldingHttpTransport::setHolding(bool holding)
{
    m_state->holding = holding;
}

int HoldingHttpTransport::started() const
{
    return m_state->started;
}

int HoldingHttpTransport::ended() const
{
    return m_state->ended;
}

int HoldingHttpTransport::heldCount() const
{
    int count = 0;
    for (const auto& hold : m_state->held) {
        count += hold->released ? 0 : 1;
    }
    return count;
}

void HoldingHttpTransport::releaseAll()
{
    for (const auto& hold : std::exchange(m_state->held, {})) {
        wake(hold);
    }
}

bool HoldingHttpTransport::drain(std::chrono::milliseconds limit)
{
    return test::spinUntil(
        [this] {
            releaseAll();
            return inFlight() == 0;
        },
        limit);
}

QCoro::Task<HttpResponse> HoldingHttpTransport::perform(HttpRequest request)
{
    return forward(m_inner, m_state, std::move(request));
}

QCoro::Task<HttpResponse> HoldingHttpTransport::forward(HttpTransport& inner,
                                                        std::shared_ptr<State> state,
                                                        HttpRequest request)
{
    const EndCount count(state);
    const std::shared_ptr<CancellationToken> token = request.cancellation;
    HttpResponse response;
    std::exception_ptr failure;
    try {
        auto sending = inner.perform(std::move(request));
        response = co_await sending;
    } catch (...) {
        failure = std::current_exception();
    }
    if (state->holding) {
        const auto hold = std::make_shared<Hold>();
        state->held.push_back(hold);
        const int callback = token ? token->onCancel([hold] {
            hold->cancelled = true;
            wake(hold);
        })
                                   : 0;
        co_await HoldAwaiter(hold);
        if (token) {
            token->removeCallback(callback);
        }
        if (hold->cancelled && !failure) {
            failure = std::make_exception_ptr(HttpTransportError());
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    co_return response;
}

void HoldingHttpTransport::wake(const std::shared_ptr<Hold>& hold)
{
    if (hold->released) {
        return;
    }
    hold->released = true;
    if (const std::coroutine_handle<> waiter = hold->waiter) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [waiter] { waiter.resume(); }, Qt::QueuedConnection);
    }
}

}  // namespace vantrell
