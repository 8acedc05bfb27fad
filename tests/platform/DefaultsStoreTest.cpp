#include "platform/MemoryDefaultsStore.h"
#include "platform/SettingsDefaultsStore.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    // The file name is taken by a folder: the folder and file checks pass, the save fails.
    const QString path = temp.filePath(QStringLiteral("Vantrell.conf"));
    ASSERT_TRUE(QDir().mkdir(path));
    SettingsDefaultsStore store(path);
    EXPECT_FALSE(store.setValue(QStringLiteral("key"), u"value"_qs));

    // The error does not stick to the store: once the name is free, writes succeed.
    ASSERT_TRUE(QDir(path).removeRecursively());
    EXPECT_TRUE(store.setValue(QStringLiteral("other"), u"value"_qs));
    EXPECT_EQ(modeOf(path), 0600u);
}
