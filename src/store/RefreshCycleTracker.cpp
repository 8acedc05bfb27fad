#include "store/RefreshCycleTracker.h"

#include "concurrency/OneShotEvent.h"

namespace vantrell {

RefreshCycleTracker::Cycle::Cycle(RefreshCycleTracker& tracker)
    : m_owner(tracker.m_owner), m_tracker(&tracker), m_end(std::make_shared<OneShotEvent>())
{
    tracker.m_end = m_end;
    tracker.setRunning(true);
}

// The waiters are woken also when the owner, and with it the tracker, is gone.
RefreshCycleTracker::Cycle::~Cycle()
{
    if (m_owner) {
        m_tracker->m_end.reset();
        m_tracker->setRunning(false);
    }
    m_end->set();
}

RefreshCycleTracker::RefreshCycleTracker(QObject* owner, std::function<void()> onRunningChanged)
    : m_owner(owner), m_onRunningChanged(std::move(onRunningChanged))
{
}

QCoro::Task<void> RefreshCycleTracker::untilIdle()
{
    const QPointer<QObject> owner(m_owner);  // `this` may be gone after a wait
    // Another cycle (a timer tick) may begin before a waiter resumes, hence the loop.
    while (owner && m_end) {
        const std::shared_ptr<OneShotEvent> end = m_end;
        co_await end->wait();
    }
}

void RefreshCycleTracker::setRunning(bool running)
{
    if (m_running != running) {
        m_running = running;
        m_onRunningChanged();
    }
}

}  // namespace vantrell
