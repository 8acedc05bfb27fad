#ifdef VANTRELL_TEST_WIDGETS
#include <QApplication>
#else
#include <QCoreApplication>
#endif
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Replies aborted by the last test are still being wound down by Qt's network thread: give the
// event loop a moment to finish them and run their deferred deletions before the application
// object (and with it the network manager) goes away, so leak checking sees a quiet teardown.
void drainPendingWork()
{
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

// Every test binary runs inside a QCoreApplication so coroutines, timers and sockets have an
// event loop; widget tests get a QApplication on the offscreen platform, display or not.
int main(int argc, char** argv)
{
#ifdef VANTRELL_TEST_WIDGETS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    drainPendingWork();
    return result;
}
