#pragma once

#include <coroutine>
#include <utility>
#include <vector>

namespace vantrell {

// An event that a test opens by hand. Coroutines `co_await gate.opened()` until open() resumes
// them, right there inside open(); once open, awaiting it does not suspend. Lets a test decide the
// exact order in which fake work finishes without timers.
class ManualGate {
public:
    ManualGate() = default;
    ManualGate(const ManualGate&) = delete;
    ManualGate& operator=(const ManualGate&) = delete;

    bool isOpen() const { return m_open; }
    bool hasWaiters() const { return !m_waiters.empty(); }

    void open()
    {
        m_open = true;
        for (auto waiter : std::exchange(m_waiters, {})) {
            waiter.resume();
        }
    }

    class Awaiter {
    public:
        explicit Awaiter(ManualGate& gate) : m_gate(&gate) {}
        bool await_ready() const noexcept { return m_gate->m_open; }
        void await_suspend(std::coroutine_handle<> waiter) { m_gate->m_waiters.push_back(waiter); }
        void await_resume() const noexcept {}

    private:
        ManualGate* m_gate;
    };

    Awaiter opened() { return Awaiter(*this); }

private:
    bool m_open = false;
    std::vector<std::coroutine_handle<>> m_waiters;
};

}  // namespace vantrell
