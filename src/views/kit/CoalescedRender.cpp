#include "views/kit/CoalescedRender.h"

#include <QObject>
#include <QTimer>

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
    QTimer::singleShot(0, m_owner, [this] {
        if (m_pending) {
            m_render();
        }
    });
}

void CoalescedRender::clear()
{
    m_pending = false;
}

bool CoalescedRender::isPending() const
{
    return m_pending;
}

}  // namespace vantrell
