#pragma once

#include <QObject>

#include <functional>

namespace vantrell {

// Coalesces many change notifications into one render per turn of the event loop. The render
// runs on the owner's thread and is dropped if the owner is destroyed first; an immediate render
// calls clear() so a pending one does not repeat it.
//
// A widget whose window was closed renders nothing: its render waits until it is shown again,
// so the hidden windows of a program that runs in the tray cost nothing per change.
//
//     CoalescedRender m_coalescedRender{this, [this] { render(); }};
//     connect(store, &Store::changed, this, [this] { m_coalescedRender.schedule(); });
class CoalescedRender : public QObject {
    Q_OBJECT

public:
    CoalescedRender(QObject* owner, std::function<void()> render);

    CoalescedRender(const CoalescedRender&) = delete;
    CoalescedRender& operator=(const CoalescedRender&) = delete;

    // Queues one render for the next turn unless one is already queued.
    void schedule();
    // Drops a queued render (the caller is rendering now).
    void clear();
    bool isPending() const;

    // Whether `widget` sits in a window that was shown and then closed (or hidden on purpose).
    static bool isInClosedWindow(const QObject* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run();

    QObject* m_owner;
    std::function<void()> m_render;
    bool m_pending = false;
    bool m_waitingForShow = false;
};

}  // namespace vantrell
