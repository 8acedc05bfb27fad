#include "app/SingleInstance.h"

#include "support/ScopedEnvironmentVariable.h"
#include "support/SpinUntil.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The mode bits of the file at `path`, or ~0 when there is none.
mode_t modeOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777
                                                                     : ~mode_t(0);
}

TEST_F(SingleInstanceTest, WithoutDataFolderEachUserHasAGuardOfTheirOwn)
{
    // Another user's copy (or a planted file) holding the name that all users once shared.
    const ScopedEnvironmentVariable temp("TMPDIR", QFile::encodeName(folder.path()));
    SingleInstance shared(folder.filePath(QStringLiteral("vantrell.lock")), socketPath());
    ASSERT_EQ(shared.claim(), SingleInstance::Role::primary);

    const QString ours =
        folder.filePath(QStringLiteral("vantrell-%1.lock").arg(QString::number(::getuid())));
    {
        const std::unique_ptr<SingleInstance> instance = SingleInstance::forUser(QString());
        EXPECT_EQ(instance->claim(), SingleInstance::Role::primary);
        EXPECT_EQ(modeOf(ours), 0600u);
        EXPECT_EQ(SingleInstance::forUser(QString())->claim(), SingleInstance::Role::secondary);
    }

    QTemporaryDir runtime;
    const std::unique_ptr<SingleInstance> instance = SingleInstance::forUser(runtime.path());
    EXPECT_EQ(instance->claim(), SingleInstance::Role::primary);
    EXPECT_TRUE(QFile::exists(runtime.filePath(QStringLiteral("vantrell.lock"))));
}

TEST_F(SingleInstanceTest, LockOfAnotherUserIsNotOurRunningCopy)
{
    SingleInstance other(lockPath(), socketPath());
    ASSERT_EQ(other.claim(), SingleInstance::Role::primary);
    // Only root can give a file away; "nobody" stands for the other user.
    if (::chown(QFile::encodeName(lockPath()).constData(), 65534, 65534) != 0) {
        GTEST_SKIP() << "needs root to make a file of another user";
    }
    SingleInstance instance(lockPath(), socketPath());
    EXPECT_EQ(instance.claim(), SingleInstance::Role::unguarded);
}

}  // namespace
