#include "app/IdleMemoryRelease.h"

#include "support/SpinUntil.h"
#include "support/StagedPortfolio.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>

using namespace vantrell;
using namespace vantrell::test;
using namespace std::chrono_literals;

namespace {

TEST(IdleMemoryReleaseTest, ReleasesOnceAfterEachCycleHasEnded)
{
    StagedPortfolio staged;
    staged.stage(Exchange::binance, "100");
    int releases = 0;
    const IdleMemoryRelease release(staged.store(), 30ms, [&] { ++releases; });
    QCoreApplication::processEvents();
    EXPECT_EQ(releases, 0) << "nothing before a cycle";

    staged.refresh();
    EXPECT_EQ(releases, 0) << "not while the cycle's work may still be going on";
    ASSERT_TRUE(spinUntil([&] { return releases == 1; }));

    staged.refresh();
    ASSERT_TRUE(spinUntil([&] { return releases == 2; }));
    spinUntil([] { return false; }, 100ms);
    EXPECT_EQ(releases, 2) << "once per cycle";
}

TEST(IdleMemoryReleaseTest, ACycleThatStartsDuringTheWaitPostponesTheRelease)
{
    StagedPortfolio staged;
    staged.stage(Exchange::binance, "100");
    int releases = 0;
    const IdleMemoryRelease release(staged.store(), 200ms, [&] { ++releases; });
    staged.refresh();
    staged.refresh();
    staged.refresh();
    ASSERT_TRUE(spinUntil([&] { return releases == 1; }));
    spinUntil([] { return false; }, 300ms);
    EXPECT_EQ(releases, 1) << "the three cycles in a row end in one release";
}

}  // namespace
