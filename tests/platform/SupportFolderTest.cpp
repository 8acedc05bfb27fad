#include "platform/SupportFolder.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace vantrell;

namespace {

int modeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

// Points $XDG_DATA_HOME somewhere else for one test.
class DataHomeScope {
public:
    explicit DataHomeScope(const QString& path) : m_previous(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(path));
    }
    ~DataHomeScope()
    {
        m_previous.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", m_previous);
    }

private:
    QByteArray m_previous;
};

}  // namespace

TEST(SupportFolderTest, StandardFolderIsVantrellInTheDataHome)
{
    QTemporaryDir home;
    const DataHomeScope scope(home.path());
    const SupportFolder folder = SupportFolder::standard();
    EXPECT_EQ(folder.path(), home.path() + QStringLiteral("/Vantrell"));
    EXPECT_EQ(folder.filePath(QStringLiteral("x.json")),
              home.path() + QStringLiteral("/Vantrell/x.json"));
    EXPECT_FALSE(QDir(folder.path()).exists());  // naming it makes nothing
}

TEST(SupportFolderTest, MissingFoldersAreMadeOwnerOnly)
{
    QTemporaryDir temporary;
    const mode_t previous = ::umask(0);  // even a permissive umask gives 0700
    const SupportFolder folder(temporary.filePath(QStringLiteral("a/b/Vantrell")));
    const bool created = folder.create();
    ::umask(previous);

    ASSERT_TRUE(created);
    EXPECT_EQ(modeOf(temporary.filePath(QStringLiteral("a"))), 0700);
    EXPECT_EQ(modeOf(temporary.filePath(QStringLiteral("a/b"))), 0700);
    EXPECT_EQ(modeOf(folder.path()), 0700);
    EXPECT_TRUE(folder.create());  // an existing folder is fine
}
