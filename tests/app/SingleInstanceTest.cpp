#include "app/SingleInstance.h"

#include "support/SpinUntil.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    QString lockPath() const { return folder.filePath(QStringLiteral("vantrell.lock")); }
    QString socketPath() const { return folder.filePath(QStringLiteral("instance.socket")); }

    QTemporaryDir folder;
};

TEST_F(SingleInstanceTest, SecondClaimAsksTheFirstToComeForward)
{
    SingleInstance first(lockPath(), socketPath());
    ASSERT_EQ(first.claim(), SingleInstance::Role::primary);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    SingleInstance second(lockPath(), socketPath());
    EXPECT_EQ(second.claim(), SingleInstance::Role::secondary);
    EXPECT_TRUE(spinUntil([&] { return activations.count() == 1; }));
}

TEST_F(SingleInstanceTest, LockIsFreeAgainOnceThePrimaryIsGone)
{
    {
        SingleInstance first(lockPath(), socketPath());
        ASSERT_EQ(first.claim(), SingleInstance::Role::primary);
    }
    SingleInstance next(lockPath(), socketPath());
    EXPECT_EQ(next.claim(), SingleInstance::Role::primary);
}

TEST_F(SingleInstanceTest, LockOfAProcessThatDiedIsTakenOver)
{
    // What QLockFile leaves behind when its process is killed: a pid that no longer runs.
    QFile stale(lockPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("999999999\nvantrell\n\n");
    stale.close();
    SingleInstance instance(lockPath(), socketPath());
    EXPECT_EQ(instance.claim(), SingleInstance::Role::primary);
}

TEST_F(SingleInstanceTest, UnwritableFolderRunsUnguarded)
{
    SingleInstance instance(folder.filePath(QStringLiteral("missing/deeper/vantrell.lock")),
                            socketPath());
    EXPECT_EQ(instance.claim(), SingleInstance::Role::unguarded);
}

}  // namespace
