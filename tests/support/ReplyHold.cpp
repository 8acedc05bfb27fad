#include "support/ReplyHold.h"

#include <QCoreApplication>

#include <utility>

namespace vantrell {

class ReplyHold::Awaiter {
public:
    explicit Awaiter(ReplyHold& hold) : m_hold(&hold) {}
    bool await_ready() const noexcept { return m_hold->m_released; }
    void await_suspend(std::coroutine_handle<> waiter) noexcept { m_hold->m_waiter = waiter; }
    void await_resume() const noexcept {}

private:
    ReplyHold* m_hold;
};

QCoro::Task<bool> ReplyHold::wait(std::shared_ptr<ReplyHold> hold,
                                  std::shared_ptr<CancellationToken> token)
{
    const int callback = token ? token->onCancel([hold] {
        hold->m_cancelled = true;
        hold->release();
    })
                               : 0;
    co_await Awaiter(*hold);
    if (token) {
        token->removeCallback(callback);
    }
    co_return hold->m_cancelled;
}

void ReplyHold::release()
{
    if (std::exchange(m_released, true)) {
        return;
    }
    if (const std::coroutine_handle<> waiter = m_waiter) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [waiter] { waiter.resume(); }, Qt::QueuedConnection);
    }
}

}  // namespace vantrell
