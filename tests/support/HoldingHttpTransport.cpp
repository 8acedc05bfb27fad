#include "support/HoldingHttpTransport.h"

#include "support/ReplyHold.h"
#include "support/SpinUntil.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <exception>
#include <utility>
#include <vector>

namespace vantrell {

struct HoldingHttpTransport::State {
    bool holding = false;
    int started = 0;
    int ended = 0;
    std::vector<std::shared_ptr<ReplyHold>> held;
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
        count += hold->isReleased() ? 0 : 1;
    }
    return count;
}

void HoldingHttpTransport::releaseAll()
{
    for (const auto& hold : std::exchange(m_state->held, {})) {
        hold->release();
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
        state->held.push_back(std::make_shared<ReplyHold>());
        const bool cancelled = co_await ReplyHold::wait(state->held.back(), token);
        if (cancelled && !failure) {
            failure = std::make_exception_ptr(HttpTransportError());
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    co_return response;
}

}  // namespace vantrell
