#pragma once

#include "concurrency/CancellationToken.h"

#include <QCoroTask>

#include <coroutine>
#include <memory>

namespace vantrell {

// A reply that a test transport keeps back until the test releases it or the request is
// cancelled. The waiting request resumes from the event loop, like a real reply, never inside
// the caller of release() or of the cancel.
class ReplyHold {
public:
    // Suspends until `hold` is released or `token` (which may be null) is cancelled; true when
    // the request was cancelled.
    static QCoro::Task<bool> wait(std::shared_ptr<ReplyHold> hold,
                                  std::shared_ptr<CancellationToken> token);

    bool isReleased() const { return m_released; }
    // Lets the waiting request go on; nothing happens when it was let go before.
    void release();

private:
    class Awaiter;

    std::coroutine_handle<> m_waiter;
    bool m_released = false;
    bool m_cancelled = false;
};

}  // namespace vantrell
