#pragma once

#include <QCoroTask>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

namespace vantrell {

class OneShotEvent;

// Whether the portfolio store's refresh cycle runs, and the event its end sets for those who
// must start their own cycle only after it. Kept apart so the store's cycle reads as its steps.
// A cycle's coroutine may outlive the store; the tracker dies with its owner, and a cycle that
// ends after that only wakes its waiters.
class RefreshCycleTracker {
public:
    // Marks a cycle as running from its construction to its destruction, however the cycle's
    // coroutine leaves. Make it first in the cycle, so a waiter always finds the cycle's end.
    class Cycle {
    public:
        explicit Cycle(RefreshCycleTracker& tracker);
        Cycle(const Cycle&) = delete;
        Cycle& operator=(const Cycle&) = delete;
        ~Cycle();

    private:
        QPointer<QObject> m_owner;
        RefreshCycleTracker* m_tracker;
        std::shared_ptr<OneShotEvent> m_end;
    };

    // `onRunningChanged` runs after every change of isRunning(). The tracker must die with
    // `owner`.
    RefreshCycleTracker(QObject* owner, std::function<void()> onRunningChanged);

    bool isRunning() const { return m_running; }
    // Returns once no cycle runs (at once when none does), or once the owner is gone.
    QCoro::Task<void> untilIdle();

private:
    void setRunning(bool running);

    QObject* m_owner;
    std::function<void()> m_onRunningChanged;
    bool m_running = false;
    // Set when the running cycle ends; null while none runs.
    std::shared_ptr<OneShotEvent> m_end;
};

}  // namespace vantrell
