#include "app/QuitSignalWatcher.h"

#include "support/SpinUntil.h"

#include <QSignalSpy>

#include <csignal>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

TEST(QuitSignalWatcherTest, TerminationSignalsArriveOnTheEventLoop)
{
    QuitSignalWatcher watcher;
    ASSERT_TRUE(watcher.isActive());
    QSignalSpy requests(&watcher, &QuitSignalWatcher::quitRequested);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_EQ(std::raise(signalNumber), 0);
    }
    ASSERT_TRUE(spinUntil([&] { return requests.count() == 3; }));
    EXPECT_EQ(requests.at(0).at(0).toInt(), SIGTERM);
    EXPECT_EQ(requests.at(1).at(0).toInt(), SIGINT);
    EXPECT_EQ(requests.at(2).at(0).toInt(), SIGHUP);
}

TEST(QuitSignalWatcherTest, DefaultHandlersReturnAfterwards)
{
    {
        QuitSignalWatcher watcher;
    }
    struct sigaction current {};
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &current), 0);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

}  // namespace
