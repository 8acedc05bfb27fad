#pragma once

#include <functional>

class QObject;

namespace vantrell {

// Coalesces many change notifications into one render per turn of the event loop. The render
// runs on the owner's thread and is dropped if the owner is destroyed first; an immediate render
// calls clear() so a pending one does not repeat it.
//
//     CoalescedRender m_coalescedRender{this, [this] { render(); }};
//     connect(store, &Store::changed, this, [this] { m_coalescedRender.schedule(); });
class CoalescedRender {
public:
    CoalescedRender(QObject* owner, std::function<void()> render);

    CoalescedRender(const CoalescedRender&) = delete;
    CoalescedRender& operator=(const CoalescedRender&) = delete;

    // Queues one render for the next turn unless one is already queued.
    void schedule();
    // Drops a queued render (the caller is rendering now).
    void clear();
    bool isPending() const;

private:
    QObject* m_owner;
    std::function<void()> m_render;
    bool m_pending = false;
};

}  // namespace vantrell
