#include "files/PortfolioFiles.h"

#include "files/PortfolioDiskWriter.h"
#include "models/JsonWriter.h"
#include "support/ManualClock.h"
#include "support/PortfolioSamples.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <limits>
#include <vector>

using namespace vantrell;
using namespace vantrell::test;

namespace {

class PortfolioFilesTest : public ::testing::Test {
protected:
    // Carries out every write asked for and delivers the outcomes.
    void settle()
    {
        writer.flush();
        QCoreApplication::sendPostedEvents();
    }

    PortfolioFiles::FailureHandler collect()
    {
        return [this](const QString& message) { messages.push_back(message); };
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList archives() const
    {
        return QDir(folder.path())
            .entryList({QStringLiteral("portfolio-history-archive-*.json")}, QDir::Files);
    }

    QTemporaryDir temporary;
    SupportFolder folder{temporary.path() + QStringLiteral("/data/Vantrell")};
    PortfolioDiskWriter writer;
    ManualClock clock{Date{800'000'000}};
    PortfolioFiles files{folder, &writer, clock};
    QObject context;
    std::vector<QString> messages;
    const QString identity = identityOf('a');
};

int modeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

// Restores the process umask when a test ends.
class UmaskScope {
public:
    explicit UmaskScope(mode_t mask) : m_previous(::umask(mask)) {}
    ~UmaskScope() { ::umask(m_previous); }

private:
    mode_t m_previous;
};

}  // namespace

TEST_F(PortfolioFilesTest, FileNamesInTheDataFolder)
{
    EXPECT_EQ(files.cachePath(), folder.path() + QStringLiteral("/portfolio-cache.json"));
    EXPECT_EQ(files.historyPath(identity),
              folder.path() + QStringLiteral("/portfolio-history-") + identity + u".json");
    const QString archive = files.newArchivePath();
    EXPECT_TRUE(archive.startsWith(folder.path() + QStringLiteral("/portfolio-history-archive-")));
    const QString uuid = archive.section(u'/', -1).mid(26, 36);
    EXPECT_EQ(uuid, uuid.toUpper());
    EXPECT_TRUE(Uuid::fromString(uuid).has_value());
    EXPECT_TRUE(archive.endsWith(QStringLiteral(".json")));
}

TEST_F(PortfolioFilesTest, RecordsRoundTripThroughTheFiles)
{
    const CachedPortfolioSnapshot cache = sampleCache(identity);
    const PortfolioHistory history = sampleHistory(identity, clock.now());
    files.saveCache(cache, 1, &context, collect());
    files.saveHistory(history, 2, &context, collect());
    settle();

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(files.loadCachedSnapshot(), cache);
    EXPECT_EQ(files.loadValueHistory(identity), history);
}

TEST_F(PortfolioFilesTest, NewFilesAndFoldersAreOwnerOnly)
{
    const UmaskScope umask(022);
    files.saveCache(sampleCache(identity), 1, &context, collect());
    files.saveHistory(sampleHistory(identity, clock.now()), 2, &context, collect());
    files.saveArchive(sampleHistory(identity, clock.now()), 3, &context, collect());
    settle();

    ASSERT_TRUE(messages.empty());
    EXPECT_EQ(modeOf(temporary.path() + QStringLiteral("/data")), 0700);
    EXPECT_EQ(modeOf(folder.path()), 0700);
    EXPECT_EQ(modeOf(files.cachePath()), 0600);
    EXPECT_EQ(modeOf(files.historyPath(identity)), 0600);
    ASSERT_EQ(archives().size(), 1);
    EXPECT_EQ(modeOf(folder.filePath(archives().front())), 0600);

    // A file someone loosened is owner-only again after the next write.
    ASSERT_TRUE(QFile::setPermissions(files.cachePath(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    files.saveCache(sampleCache(identity), 4, &context, collect());
    settle();
    EXPECT_EQ(modeOf(files.cachePath()), 0600);
}

TEST_F(PortfolioFilesTest, WriteFailuresReportTheirExactTexts)
{
    ASSERT_TRUE(folder.create());
    ASSERT_TRUE(QDir().mkpath(files.cachePath()));  // the target is a folder
    ASSERT_TRUE(QDir().mkpath(files.historyPath(identity)));
    files.saveCache(sampleCache(identity), 1, &context, collect());
    files.saveHistory(sampleHistory(identity, clock.now()), 2, &context, collect());
    files.saveCache(sampleCache(identity), 3, &context, collect());
    settle();

    EXPECT_EQ(messages, (std::vector<QString>{
                            QStringLiteral("本地缓存保存失败，请检查可用空间和文件权限。"),
                            QStringLiteral("本地历史保存失败，请检查可用空间和文件权限。"),
                            QStringLiteral("本地缓存保存失败，请检查可用空间和文件权限。"),
                        }));
}

TEST_F(PortfolioFilesTest, DataFolderThatIsAFileFailsEveryWrite)
{
    writeFile(temporary.path() + QStringLiteral("/data"), "not a folder");
    files.saveCache(sampleCache(identity), 1, &context, collect());
    files.saveArchive(sampleHistory(identity, clock.now()), 2, &context, collect());
    settle();

    EXPECT_EQ(messages, (std::vector<QString>{
                            QStringLiteral("本地缓存保存失败，请检查可用空间和文件权限。"),
                            QStringLiteral("旧资产范围的历史归档失败，请检查可用空间和权限。"),
                        }));
    EXPECT_EQ(readFile(temporary.path() + QStringLiteral("/data")), "not a folder");
}

TEST_F(PortfolioFilesTest, FailedWriteLeavesTheOldFileAndRecordsNoRevision)
{
    files.saveCache(sampleCache(identity), 1, &context, collect());
    settle();
    const QByteArray good = readFile(files.cachePath());

    CachedPortfolioSnapshot broken = sampleCache(identity);
    broken.savedAt = Date{std::numeric_limits<double>::infinity()};  // cannot be written
    files.saveCache(broken, 5, &context, collect());
    settle();
    EXPECT_EQ(messages.size(), 1U);
    EXPECT_EQ(readFile(files.cachePath()), good);

    // Revision 5 never counted, so revision 3 is still newer than what the file holds.
    CachedPortfolioSnapshot later = sampleCache(identity);
    later.savedAt = Date{3};
    files.saveCache(later, 3, &context, collect());
    settle();
    EXPECT_EQ(files.loadCachedSnapshot()->savedAt, Date{3});
}

TEST_F(PortfolioFilesTest, FailedArchiveKeepsTheOldHistoryUntilItIsWritten)
{
    const PortfolioHistory old = sampleHistory(identity, clock.now(), 5);
    files.saveHistory(old, 1, &context, collect());
    settle();
    const QByteArray oldBytes = readFile(files.historyPath(identity));

    PortfolioHistory archive = old;
    archive.points.front().timestamp = Date{std::numeric_limits<double>::quiet_NaN()};
    PortfolioHistory fresh = sampleHistory(identity, clock.now(), 1);
    fresh.coverage = QStringLiteral("binance:现货");
    files.saveArchive(archive, 2, &context, collect());
    files.saveHistory(fresh, 3, &context, collect());
    settle();

    EXPECT_EQ(messages, (std::vector<QString>{
                            QStringLiteral("旧资产范围的历史归档失败，请检查可用空间和权限。"),
                            QStringLiteral("本地历史保存失败，请检查可用空间和文件权限。"),
                        }));
    EXPECT_EQ(readFile(files.historyPath(identity)), oldBytes);
    EXPECT_TRUE(archives().isEmpty());

    // Another identity's history is not held back.
    files.saveHistory(sampleHistory(identityOf('b'), clock.now()), 4, &context, collect());
    settle();
    EXPECT_EQ(messages.size(), 2U);
    EXPECT_TRUE(files.loadValueHistory(identityOf('b')).has_value());
}

TEST_F(PortfolioFilesTest, WithoutADataFolderNothingIsReadOrWritten)
{
    PortfolioFiles none(SupportFolder(), &writer, clock);
    EXPECT_FALSE(none.isAvailable());
    EXPECT_TRUE(none.cachePath().isEmpty());
    EXPECT_FALSE(none.loadCachedSnapshot().has_value());
    EXPECT_FALSE(none.loadValueHistory(identity).has_value());
    none.saveCache(sampleCache(identity), 1, &context, collect());
    none.saveHistory(sampleHistory(identity, clock.now()), 2, &context, collect());
    settle();
    EXPECT_TRUE(messages.empty());
}

TEST_F(PortfolioFilesTest, BareSnapshotLoadsWithTheFileTime)
{
    ASSERT_TRUE(folder.create());
    writeFile(files.cachePath(), JsonWriter::write(sampleSnapshot().toJson()));
    const QDateTime modified = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
    {
        QFile file(files.cachePath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }

    const auto cache = files.loadCachedSnapshot();
    ASSERT_TRUE(cache.has_value());
    EXPECT_EQ(cache->snapshot, sampleSnapshot());
    EXPECT_EQ(cache->savedAt, Date::fromDateTime(modified));
    EXPECT_FALSE(cache->identity || cache->quality || cache->components);
}

TEST_F(PortfolioFilesTest, HistoryKeepsNinetyDaysInTimeOrderAndLeavesTheFile)
{
    PortfolioHistory history = sampleHistory(identity, clock.now(), 1);
    const Date now = clock.now();
    const auto point = [](Date at, int value) { return PortfolioValuePoint{at, value}; };
    history.points = {point(now.addingSeconds(-10), 1),
                      point(now.addingSeconds(-7'776'000.5), 2),  // just too old
                      point(now.addingSeconds(-7'776'000), 3),    // exactly 90 days: kept
                      point(now.addingSeconds(-20), 4), point(now.addingSeconds(-20), 5)};
    files.saveHistory(history, 1, &context, collect());
    settle();
    const QByteArray bytes = readFile(files.historyPath(identity));

    const auto loaded = files.loadValueHistory(identity);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->points, (std::vector<PortfolioValuePoint>{
                                  point(now.addingSeconds(-7'776'000), 3),
                                  point(now.addingSeconds(-20), 4),
                                  point(now.addingSeconds(-20), 5),
                                  point(now.addingSeconds(-10), 1),
                              }));
    EXPECT_EQ(loaded->flows, history.flows);
    EXPECT_EQ(readFile(files.historyPath(identity)), bytes);
}

namespace {

struct CorruptFile {
    const char* name;
    QByteArray bytes;
};

QByteArray validHistory(const QString& identity)
{
    return JsonWriter::write(sampleHistory(identity, Date{800'000'000}).toJson());
}

std::vector<CorruptFile> corruptFiles()
{
    const QByteArray valid = validHistory(identityOf('a'));
    const QByteArray cache = JsonWriter::write(sampleCache(identityOf('a')).toJson());
    const auto edited = [&cache](const char* from, const char* to) {
        QByteArray bytes = cache;
        return bytes.replace(from, to);
    };
    return {
        {"empty", ""},
        {"garbage", "\x89PNG\r\n\x1a\n\xff\xfe garbage"},
        {"truncated", valid.left(valid.size() / 2)},
        {"trailing garbage", valid + "}"},
        {"NUL inside", valid.left(20) + QByteArray(1, '\0') + valid.mid(21)},
        {"top-level array", "[" + valid + "]"},
        {"points as text", R"({"identity":"x","coverage":"","points":"none"})"},
        {"value as string",
         R"({"identity":"x","coverage":"","points":[{"timestamp":1,"totalValue":"1"}]})"},
        {"timestamp overflows",
         R"({"identity":"x","coverage":"","points":[{"timestamp":1e999,"totalValue":1}]})"},
        {"bad flow id",
         R"({"identity":"x","coverage":"","points":[],"flows":[{"id":"nope","timestamp":1,"amountUSD":1}]})"},
        {"odd quality", edited(R"("quality":["Binance","",)", R"("quality":["Binance",)")},
        {"unknown exchange", edited(R"("Gate.io","partial")", R"("Gate","partial")")},
        {"component without warnings", edited(R"("accountWarnings")", R"("accountWarningz")")},
        {"savedAt as text", edited(R"("savedAt":700000000.125)", R"("savedAt":"700000000.125")")},
        {"deep nesting", QByteArray(100'000, '[') + QByteArray(100'000, ']')},
    };
}

}  // namespace

TEST_F(PortfolioFilesTest, CorruptedCacheLoadsAsNothing)
{
    ASSERT_TRUE(folder.create());
    for (const CorruptFile& corrupt : corruptFiles()) {
        SCOPED_TRACE(corrupt.name);
        writeFile(files.cachePath(), corrupt.bytes);
        EXPECT_FALSE(files.loadCachedSnapshot().has_value());
        EXPECT_EQ(readFile(files.cachePath()), corrupt.bytes);  // a cache is not set aside
    }
}

TEST_F(PortfolioFilesTest, UnusableHistoryIsSetAsideOnceAndLoadsAsNothing)
{
    ASSERT_TRUE(folder.create());
    std::vector<CorruptFile> cases = corruptFiles();
    cases.push_back({"another identity", validHistory(identityOf('f'))});
    for (const CorruptFile& corrupt : cases) {
        SCOPED_TRACE(corrupt.name);
        const QString path = files.historyPath(identity);
        writeFile(path, corrupt.bytes);

        EXPECT_FALSE(files.loadValueHistory(identity).has_value());
        EXPECT_FALSE(QFile::exists(path));
        ASSERT_EQ(archives().size(), 1);
        const QString archive = folder.filePath(archives().front());
        EXPECT_EQ(readFile(archive), corrupt.bytes);
        EXPECT_FALSE(files.loadValueHistory(identity).has_value());
        EXPECT_EQ(archives().size(), 1);  // once: nothing left to set aside
        ASSERT_TRUE(QFile::remove(archive));
    }
}

TEST_F(PortfolioFilesTest, OversizedHistoryIsSetAsideUnread)
{
    ASSERT_TRUE(folder.create());
    QFile file(files.historyPath(identity));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(PortfolioFiles::maxFileSize + 1));  // sparse: cheap to make
    file.close();

    EXPECT_FALSE(files.loadValueHistory(identity).has_value());
    EXPECT_EQ(archives().size(), 1);
}

// A history that is there but cannot be read may still hold everything: the next write must not
// replace it, so it is set aside as a damaged one is. Absence is no read error.
TEST_F(PortfolioFilesTest, UnreadableHistoryIsSetAsideBeforeTheNextWrite)
{
    const QString path = files.historyPath(identity);
    ASSERT_TRUE(folder.create());
    EXPECT_FALSE(files.loadValueHistory(identity).has_value());
    EXPECT_TRUE(QDir(folder.path()).isEmpty());

    // Reading this file fails with an I/O error, however privileged the reader.
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), path));
    EXPECT_FALSE(files.loadValueHistory(identity).has_value());
    const QStringList setAside = archives();
    ASSERT_EQ(setAside.size(), 1);
    EXPECT_EQ(QFileInfo(folder.filePath(setAside.front())).symLinkTarget(),
              QStringLiteral("/proc/self/mem"));

    files.saveHistory(sampleHistory(identity, clock.now()), 1, &context, collect());
    settle();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(QFileInfo(folder.filePath(setAside.front())).symLinkTarget(),
              QStringLiteral("/proc/self/mem"));
    EXPECT_TRUE(files.loadValueHistory(identity).has_value());
}
