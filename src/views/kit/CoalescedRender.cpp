#include "views/kit/CoalescedRender.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace vantrell {

CoalescedRender::CoalescedRender(QObject* owner, std::function<void()> render)
    : m_owner(owner), m_render(std::move(render))
{
}

void CoalescedRender::schedule()
{
    if (m_pending) {
        return;
    }
    m_pending = true;
    QTimer::singleShot(0, m_owner, [this] { run(); });
}

void CoalescedRender::clear()
{
    m_pending = false;
}

bool CoalescedRender::isPending() const
{
    return m_pending;
}

bool CoalescedRender::isInClosedWindow(const QObject* object)
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (widget == nullptr) {
        return false;
    }
    const QWidget* top = widget->window();
    return top->isHidden() && top->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

// Stays pending while the window is closed, so later changes queue nothing; the show renders.
void CoalescedRender::run()
{
    if (!m_pending) {
        return;
    }
    if (isInClosedWindow(m_owner)) {
        if (!m_waitingForShow) {
            m_waitingForShow = true;
            m_owner->installEventFilter(this);
        }
        return;
    }
    m_render();
}

// The owner's show event comes after its children were shown, so rendering here is safe.
bool CoalescedRender::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_owner && event->type() == QEvent::Show) {
        m_waitingForShow = false;
        m_owner->removeEventFilter(this);
        if (m_pending) {
            m_render();
        }
    }
    return false;
}

}  // namespace vantrell
