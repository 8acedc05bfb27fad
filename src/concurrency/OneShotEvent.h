#pragma once

#include <coroutine>
#include <utility>
#include <vector>

namespace vantrell {

// Something that happens once, which any number of coroutines can await. set() resumes every
// waiter right there, in the order in which they began to wait; awaiting an event that is
// already set does not suspend. Hold it in a shared_ptr when the setter and the waiters may
// outlive each other. One thread only.
class OneShotEvent {
public:
    OneShotEvent() = default;
    OneShotEvent(const OneShotEvent&) = delete;
    OneShotEvent& operator=(const OneShotEvent&) = delete;

    bool isSet() const { return m_set; }

    void set()
    {
        m_set = true;
        for (std::coroutine_handle<> waiter : std::exchange(m_waiters, {})) {
            waiter.resume();
        }
    }

    class Awaiter {
    public:
        explicit Awaiter(OneShotEvent& event) : m_event(&event) {}
        bool await_ready() const noexcept { return m_event->m_set; }
        void await_suspend(std::coroutine_handle<> waiter) { m_event->m_waiters.push_back(waiter); }
        void await_resume() const noexcept {}

    private:
        OneShotEvent* m_event;
    };

    Awaiter wait() { return Awaiter(*this); }

private:
    bool m_set = false;
    std::vector<std::coroutine_handle<>> m_waiters;
};

}  // namespace vantrell
