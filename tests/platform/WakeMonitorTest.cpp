#include "platform/LogindWakeMonitor.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

// Whether a system bus is there or not, only the signal after sleeping counts as a wake.
TEST(WakeMonitorTest, OnlyTheEndOfASleepIsAWake)
{
    LogindWakeMonitor monitor;
    int wakes = 0;
    QObject::connect(&monitor, &WakeMonitor::woke, [&wakes] { ++wakes; });
    ASSERT_TRUE(QMetaObject::invokeMethod(&monitor, "prepareForSleep", Q_ARG(bool, true)));
    EXPECT_EQ(wakes, 0);
    ASSERT_TRUE(QMetaObject::invokeMethod(&monitor, "prepareForSleep", Q_ARG(bool, false)));
    EXPECT_EQ(wakes, 1);
    EXPECT_NE(WakeMonitor::create(), nullptr);
}

}  // namespace
