#include "concurrency/RequestFanOut.h"

#include <algorithm>

namespace vantrell {

namespace detail {

void FanOutSlot::finish(std::exception_ptr error)
{
    m_finished = true;
    m_error = std::move(error);
    // A resumed waiter may free the last other owner of this slot; the watcher that calls
    // finish() holds its own reference, so the slot outlives the loop.
    for (auto waiter : std::exchange(m_waiters, {})) {
        waiter.resume();
    }
}

}  // namespace detail

RequestFanOut::RequestFanOut() : m_state(std::make_shared<State>()) {}

RequestFanOut::~RequestFanOut()
{
    const bool abandoned =
        std::any_of(m_state->requests.cbegin(), m_state->requests.cend(),
                    [](const auto& slot) { return !slot->isFinished() && !slot->isAwaited(); });
    if (abandoned) {
        m_state->token->cancel();
    }
}

QCoro::Task<void> RequestFanOut::cancelAndSettle(std::shared_ptr<State> state)
{
    state->token->cancel();
    // A copy: the list must not change under the loop while we are suspended.
    const auto requests = state->requests;
    for (const auto& slot : requests) {
        co_await slot->completion();
    }
}

}  // namespace vantrell
