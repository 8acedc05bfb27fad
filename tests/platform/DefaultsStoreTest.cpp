#include "platform/MemoryDefaultsStore.h"
#include "platform/SettingsDefaultsStore.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <memory>
#include <string_view>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace vantrell;

namespace {

constexpr QFile::Permissions ownerOnlyFolder = QFile::ReadOwner | QFile::WriteOwner |
                                               QFile::ExeOwner | QFile::ReadUser |
                                               QFile::WriteUser | QFile::ExeUser;
constexpr QFile::Permissions ownerOnlyFile =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;

// The mode bits as the system sees them (Qt's ReadUser bits depend on the current user).
mode_t modeOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    return info.st_mode & 07777;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void expectRoundTrips(DefaultsStore& store)
{
    const QByteArray bytes("[{\"id\":\"A\"}]\0\xff", 14);
    EXPECT_TRUE(store.setValue(QStringLiteral("credential.okx.passphrase"),
                               QStringLiteral(" p@ss/word= ")));
    EXPECT_TRUE(store.setValue(QStringLiteral("additionalExchangeAccounts"), bytes));
    EXPECT_TRUE(store.setValue(QStringLiteral("empty"), QString()));

    EXPECT_EQ(store.value(QStringLiteral("credential.okx.passphrase")).toString(),
              QStringLiteral(" p@ss/word= "));
    const QVariant list = store.value(QStringLiteral("additionalExchangeAccounts"));
    EXPECT_EQ(list.typeId(), QMetaType::QByteArray);
    EXPECT_EQ(list.toByteArray(), bytes);
    EXPECT_TRUE(store.contains(QStringLiteral("empty")));
    EXPECT_EQ(store.value(QStringLiteral("empty")).toString(), QString());

    EXPECT_TRUE(store.remove(QStringLiteral("credential.okx.passphrase")));
    EXPECT_FALSE(store.contains(QStringLiteral("credential.okx.passphrase")));
    EXPECT_FALSE(store.value(QStringLiteral("credential.okx.passphrase")).isValid());
}

}  // namespace

TEST(MemoryDefaultsStoreTest, RoundTripsStringsAndBytes)
{
    MemoryDefaultsStore store;
    expectRoundTrips(store);
}

TEST(MemoryDefaultsStoreTest, FailingWritesChangeNothing)
{
    MemoryDefaultsStore store;
    ASSERT_TRUE(store.setValue(QStringLiteral("key"), QStringLiteral("old")));
    store.setWritesFail(true);
    EXPECT_FALSE(store.setValue(QStringLiteral("key"), QStringLiteral("new")));
    EXPECT_FALSE(store.remove(QStringLiteral("key")));
    EXPECT_EQ(store.value(QStringLiteral("key")).toString(), QStringLiteral("old"));
}

TEST(SettingsDefaultsStoreTest, RoundTripsStringsAndBytesThroughTheFile)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString path = temp.filePath(QStringLiteral("Vantrell/Vantrell.conf"));
    {
        SettingsDefaultsStore store(path);
        expectRoundTrips(store);
    }
    // A second store reads what the first one wrote, bytes still as bytes.
    SettingsDefaultsStore reopened(path);
    EXPECT_FALSE(reopened.contains(QStringLiteral("credential.okx.passphrase")));
    EXPECT_EQ(reopened.value(QStringLiteral("additionalExchangeAccounts")).typeId(),
              QMetaType::QByteArray);
    EXPECT_EQ(reopened.value(QStringLiteral("additionalExchangeAccounts")).toByteArray(),
              QByteArray("[{\"id\":\"A\"}]\0\xff", 14));
}

TEST(SettingsDefaultsStoreTest, KeepsFileAndFolderOwnerOnlyAfterEveryWrite)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString folder = temp.filePath(QStringLiteral("config/Vantrell"));
    const QString path = folder + QStringLiteral("/Vantrell.conf");
    SettingsDefaultsStore store(path);

    ASSERT_TRUE(store.setValue(QStringLiteral("credential.binance.secret-key"), u"s"_qs));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(path), 0600u);

    // Someone loosens both; the next write, a removal included, tightens them again.
    ASSERT_TRUE(QFile::setPermissions(
        folder, ownerOnlyFolder | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup));
    ASSERT_TRUE(QFile::setPermissions(path, ownerOnlyFile | QFile::ReadOther));
    ASSERT_TRUE(store.remove(QStringLiteral("credential.binance.secret-key")));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(path), 0600u);
}

TEST(SettingsDefaultsStoreTest, TightensAFolderAndFileMadeByOthers)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString folder = temp.filePath(QStringLiteral("Vantrell"));
    const QString path = folder + QStringLiteral("/Vantrell.conf");
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("[General]\nshowFloatingWindow=true\n");
    existing.close();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);

    SettingsDefaultsStore store(path);
    ASSERT_TRUE(store.setValue(QStringLiteral("credential.okx.secret-key"), u"s"_qs));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(store.value(QStringLiteral("showFloatingWindow")).toString(), u"true"_qs);
}

TEST(SettingsDefaultsStoreTest, WriteToAnUnwritableLocationFailsAndLaterOneSucceeds)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    // A regular file where the folder should be: no user, not even root, can write below it.
    const QString blocker = temp.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    SettingsDefaultsStore store(blocker + QStringLiteral("/Vantrell/Vantrell.conf"));

    EXPECT_FALSE(store.setValue(QStringLiteral("key"), u"value"_qs));
    EXPECT_FALSE(store.remove(QStringLiteral("key")));

    // Once the location is usable again, writes report success again.
    ASSERT_TRUE(QFile::remove(blocker));
    EXPECT_TRUE(store.setValue(QStringLiteral("key"), u"value"_qs));
    EXPECT_EQ(SettingsDefaultsStore(blocker + QStringLiteral("/Vantrell/Vantrell.conf"))
                  .value(QStringLiteral("key"))
                  .toString(),
              u"value"_qs);
}

TEST(SettingsDefaultsStoreTest, FailedSyncIsReported)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString path = temp.filePath(QStringLiteral("Vantrell.conf"));
    SettingsDefaultsStore store(path);
    ASSERT_TRUE(store.setValue(QStringLiteral("earlier"), u"value"_qs));
    // The file name is taken by a folder: the folder and file checks pass, the save fails.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_FALSE(store.setValue(QStringLiteral("key"), u"value"_qs));
    EXPECT_FALSE(store.contains(QStringLiteral("key")));

    // The error does not stick to the store: once the name is free, writes succeed, and the
    // refused value is not written out with them (QSettings keeps unsaved values of a file it
    // has read, even for its next instance).
    ASSERT_TRUE(QDir(path).removeRecursively());
    EXPECT_TRUE(store.setValue(QStringLiteral("other"), u"value"_qs));
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_FALSE(store.contains(QStringLiteral("key")));
    EXPECT_FALSE(readFile(path).contains("key="));
}

TEST(MemoryDefaultsStoreTest, AChangeWithOneRefusedKeyChangesNothing)
{
    MemoryDefaultsStore store;
    ASSERT_TRUE(store.setValue(QStringLiteral("a"), QStringLiteral("old")));
    store.refuseWritesTo([](const QString& key) { return key == u"c"; });
    EXPECT_FALSE(store.apply(DefaultsChange()
                                 .set(QStringLiteral("a"), QStringLiteral("new"))
                                 .set(QStringLiteral("b"), QStringLiteral("new"))
                                 .remove(QStringLiteral("c"))));
    EXPECT_EQ(store.keys(), QList<QString>{QStringLiteral("a")});
    EXPECT_EQ(store.value(QStringLiteral("a")).toString(), QStringLiteral("old"));
}

// A change whose file cannot be replaced, made in two ways that hold for root too: the folder
// is swapped for a plain file, or the disk "fills up" (a file size limit) so that the new file
// cannot be written.
class RefusedReplaceTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        folder = temp.filePath(QStringLiteral("Vantrell"));
        path = folder + QStringLiteral("/Vantrell.conf");
    }
    void blockReplace()
    {
        if (GetParam() == std::string_view("swapped folder")) {
            ASSERT_TRUE(QDir().rename(folder, folder + QStringLiteral(".aside")));
            QFile blocker(folder);
            ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        } else {
            ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &sizeLimit), 0);
            const rlimit tiny{16, sizeLimit.rlim_max};
            previousHandler = std::signal(SIGXFSZ, SIG_IGN);
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
        }
    }
    void unblockReplace()
    {
        if (GetParam() == std::string_view("swapped folder")) {
            ASSERT_TRUE(QFile::remove(folder));
            ASSERT_TRUE(QDir().rename(folder + QStringLiteral(".aside"), folder));
        } else {
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &sizeLimit), 0);
            std::signal(SIGXFSZ, previousHandler);
        }
    }

    QTemporaryDir temp;
    QString folder;
    QString path;
    rlimit sizeLimit{};
    void (*previousHandler)(int) = SIG_DFL;
};

TEST_P(RefusedReplaceTest, LeavesTheFileAndTheStoreAsTheyWere)
{
    const QString apiKey = QStringLiteral("credential.extra.A.okx.api-key");
    const QString secret = QStringLiteral("credential.extra.A.okx.secret-key");
    const QString list = QStringLiteral("additionalExchangeAccounts");
    auto store = std::make_unique<SettingsDefaultsStore>(path);
    ASSERT_TRUE(store->apply(DefaultsChange()
                                 .set(apiKey, u"old-key"_qs)
                                 .set(secret, u"old-secret"_qs)
                                 .set(list, QByteArray("[A]"))));
    const QByteArray before = readFile(path);

    blockReplace();
    EXPECT_FALSE(store->apply(DefaultsChange()
                                  .set(apiKey, u"new-key"_qs)
                                  .set(secret, u"new-secret"_qs)
                                  .set(QStringLiteral("credential.extra.B.okx.api-key"), u"b"_qs)
                                  .remove(list)));
    unblockReplace();

    EXPECT_EQ(store->value(apiKey).toString(), u"old-key"_qs);
    EXPECT_EQ(store->value(secret).toString(), u"old-secret"_qs);
    EXPECT_EQ(store->value(list).toByteArray(), QByteArray("[A]"));
    EXPECT_FALSE(store->contains(QStringLiteral("credential.extra.B.okx.api-key")));
    EXPECT_EQ(readFile(path), before);

    // The next change that is saved carries nothing of the refused one.
    ASSERT_TRUE(store->setValue(QStringLiteral("showFloatingWindow"), true));
    store.reset();
    const SettingsDefaultsStore fresh(path);
    EXPECT_EQ(fresh.value(apiKey).toString(), u"old-key"_qs);
    EXPECT_EQ(fresh.value(secret).toString(), u"old-secret"_qs);
    EXPECT_EQ(fresh.value(list).toByteArray(), QByteArray("[A]"));
    EXPECT_FALSE(fresh.contains(QStringLiteral("credential.extra.B.okx.api-key")));
    EXPECT_FALSE(readFile(path).contains("new-"));
}

INSTANTIATE_TEST_SUITE_P(SettingsDefaultsStoreTest, RefusedReplaceTest,
                         ::testing::Values("swapped folder", "full disk"));
