#include "files/PortfolioFiles.h"

#include "files/PortfolioDiskWriter.h"
#include "models/JsonDocument.h"
#include "models/JsonView.h"
#include "models/Uuid.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>

namespace vantrell {

const QString PortfolioFiles::cacheFileName = QStringLiteral("portfolio-cache.json");
const QString PortfolioFiles::cacheFailureMessage =
    QStringLiteral("本地缓存保存失败，请检查可用空间和文件权限。");
const QString PortfolioFiles::historyFailureMessage =
    QStringLiteral("本地历史保存失败，请检查可用空间和文件权限。");
const QString PortfolioFiles::archiveFailureMessage =
    QStringLiteral("旧资产范围的历史归档失败，请检查可用空间和权限。");

namespace {

enum class ReadResult { missing, unreadable, tooLarge, read };

// Reads at most one byte more than the cap, so a huge (or growing) file is never loaded whole.
ReadResult readCapped(const QString& path, QByteArray& data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return file.exists() ? ReadResult::unreadable : ReadResult::missing;
    }
    if (file.size() > PortfolioFiles::maxFileSize) {
        return ReadResult::tooLarge;
    }
    // Read what the file holds (and one byte more to see it grow) into a buffer with the room
    // the JSON reader needs after it, so the text is parsed where it lies; read on towards the
    // cap only when the file did grow.
    const qint64 expected = file.size();
    data = JsonDocument::readPadded(file, expected + 1);
    if (data.size() > expected) {
        data += file.read(PortfolioFiles::maxFileSize + 1 - data.size());
    }
    if (file.error() != QFileDevice::NoError) {
        return ReadResult::unreadable;
    }
    return data.size() > PortfolioFiles::maxFileSize ? ReadResult::tooLarge : ReadResult::read;
}

// Our own files are parsed defensively: the reader gives up beyond a fixed nesting depth, and
// every decoding failure (including numbers that do not fit) simply means "no record".
template <typename T>
std::optional<T> decodeRecord(const JsonView& root)
{
    try {
        return T::fromJson(root);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<JsonDocument> parse(const QByteArray& data)
{
    try {
        return JsonDocument::parse(data);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

Date modificationDate(const QString& path)
{
    const QDateTime modified = QFileInfo(path).lastModified();
    return modified.isValid() ? Date::fromDateTime(modified) : Date::distantPast();
}

std::optional<PortfolioHistory> decodeHistory(const QByteArray& data, const QString& identity)
{
    const std::optional<JsonDocument> document = parse(data);
    if (!document) {
        return std::nullopt;
    }
    std::optional<PortfolioHistory> history = decodeRecord<PortfolioHistory>(document->root());
    if (!history || history->identity != identity) {
        return std::nullopt;
    }
    return history;
}

// Drops the points older than `oldest` and puts the rest in time order. The file is written in
// order, so one pass usually does both: sorting is only for a file that is not. When every point
// is older, the clock may be the one that is wrong: all are kept, and the next recording sets
// them aside in an archive before the file is written again.
void keepRecentInOrder(std::vector<PortfolioValuePoint>& points, Date oldest)
{
    if (std::all_of(points.begin(), points.end(),
                    [oldest](const PortfolioValuePoint& p) { return p.timestamp < oldest; })) {
        oldest = Date::distantPast();
    }
    bool ordered = true;
    auto kept = points.begin();
    for (auto point = points.begin(); point != points.end(); ++point) {
        if (point->timestamp < oldest) {
            continue;
        }
        if (kept != points.begin() && point->timestamp < std::prev(kept)->timestamp) {
            ordered = false;
        }
        if (kept != point) {
            *kept = std::move(*point);
        }
        ++kept;
    }
    points.erase(kept, points.end());
    if (!ordered) {
        std::stable_sort(points.begin(), points.end(),
                         [](const PortfolioValuePoint& a, const PortfolioValuePoint& b) {
                             return a.timestamp < b.timestamp;
                         });
    }
}

PortfolioDiskWriter::Completion reportFailure(PortfolioFiles::FailureHandler onFailure,
                                              const QString& message)
{
    return [onFailure = std::move(onFailure), message](PortfolioDiskWriter::Outcome outcome) {
        if (outcome == PortfolioDiskWriter::Outcome::failed && onFailure) {
            onFailure(message);
        }
    };
}

}  // namespace

PortfolioFiles::PortfolioFiles(SupportFolder folder, PortfolioDiskWriter* writer,
                               const Clock& clock)
    : m_folder(std::move(folder)),
      m_writer(writer != nullptr ? *writer : PortfolioDiskWriter::shared()),
      m_clock(clock)
{
}

QString PortfolioFiles::cachePath() const
{
    return m_folder.filePath(cacheFileName);
}

QString PortfolioFiles::historyPath(const QString& identity) const
{
    return m_folder.filePath(u"portfolio-history-" + identity + u".json");
}

QString PortfolioFiles::newArchivePath() const
{
    return m_folder.filePath(u"portfolio-history-archive-" + Uuid::random().toString() + u".json");
}

std::optional<CachedPortfolioSnapshot> PortfolioFiles::loadCachedSnapshot() const
{
    if (!isAvailable()) {
        return std::nullopt;
    }
    const QString path = cachePath();
    QByteArray data;
    if (readCapped(path, data) != ReadResult::read) {
        return std::nullopt;
    }
    const std::optional<JsonDocument> document = parse(data);
    if (!document) {
        return std::nullopt;
    }
    const JsonView root = document->root();
    if (auto record = decodeRecord<CachedPortfolioSnapshot>(root)) {
        return record;
    }
    // An older cache held the snapshot alone; its file time stands in for the save time.
    if (auto snapshot = decodeRecord<PortfolioSnapshot>(root)) {
        CachedPortfolioSnapshot record;
        record.snapshot = std::move(*snapshot);
        record.savedAt = modificationDate(path);
        return record;
    }
    return std::nullopt;
}

std::optional<PortfolioHistory> PortfolioFiles::loadValueHistory(const QString& identity) const
{
    if (!isAvailable()) {
        return std::nullopt;
    }
    const QString path = historyPath(identity);
    QByteArray data;
    const ReadResult read = readCapped(path, data);
    if (read == ReadResult::missing) {
        return std::nullopt;
    }
    std::optional<PortfolioHistory> history;
    if (read == ReadResult::read) {
        history = decodeHistory(data, identity);
    }
    if (!history) {
        setAside(path);
        return std::nullopt;
    }
    keepRecentInOrder(history->points, m_clock.now().addingSeconds(-historyRetention));
    return history;
}

// The next history write would replace a file we could not read or use; keep it under an archive
// name (archives are never read or removed) so its points and capital flows survive. A failed
// rename is not reported: loading stays silent either way.
void PortfolioFiles::setAside(const QString& historyPath) const
{
    (void)QFile::rename(historyPath, newArchivePath());
}

void PortfolioFiles::saveCache(const CachedPortfolioSnapshot& record, quint64 revision,
                               QObject* context, FailureHandler onFailure) const
{
    if (!isAvailable()) {
        return;
    }
    m_writer.save(PortfolioDiskWriter::encoderOf(record), cachePath(), revision, context,
                  reportFailure(std::move(onFailure), cacheFailureMessage));
}

void PortfolioFiles::saveHistory(const PortfolioHistory& record, quint64 revision, QObject* context,
                                 FailureHandler onFailure) const
{
    if (!isAvailable()) {
        return;
    }
    m_writer.save(PortfolioDiskWriter::encoderOf(record), historyPath(record.identity), revision,
                  context, reportFailure(std::move(onFailure), historyFailureMessage));
}

void PortfolioFiles::saveArchive(const PortfolioHistory& record, quint64 revision, QObject* context,
                                 FailureHandler onFailure) const
{
    if (!isAvailable()) {
        return;
    }
    m_writer.saveArchive(PortfolioDiskWriter::encoderOf(record), newArchivePath(),
                         historyPath(record.identity), revision, context,
                         reportFailure(std::move(onFailure), archiveFailureMessage));
}

}  // namespace vantrell
