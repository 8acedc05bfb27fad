#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

namespace vantrell::test {

// Runs the event loop until `done()` holds, looking again every few milliseconds; false when it
// still does not hold after `limit`. For conditions no signal announces, such as the end of
// work whose owner is gone.
template <typename Predicate>
bool spinUntil(Predicate done, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    const QDeadlineTimer deadline(limit);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

}  // namespace vantrell::test
