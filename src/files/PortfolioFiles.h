#pragma once

#include "files/CachedPortfolioSnapshot.h"
#include "files/PortfolioHistory.h"
#include "models/Clock.h"
#include "models/Date.h"
#include "platform/SupportFolder.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace vantrell {

class PortfolioDiskWriter;

// The portfolio's files in the data folder: the snapshot cache, one value history per credential
// identity and the history archives. It names them, reads them, and hands writes to the disk
// writer with the message the user sees when one fails.
//
// Reading is forgiving: a missing, unreadable, oversized, corrupted or foreign file loads as
// nothing, without a message, so the program starts empty rather than not at all. A history file
// that is there but cannot be read or used is first renamed to an archive name, so the next
// write of the history cannot destroy the points and capital flows it holds.
class PortfolioFiles {
public:
    using FailureHandler = std::function<void(const QString& message)>;

    static constexpr qint64 maxFileSize = 64 * 1024 * 1024;
    static constexpr double historyRetention = 7'776'000;  // seconds (90 days)

    static const QString cacheFileName;  // "portfolio-cache.json"
    static const QString cacheFailureMessage;
    static const QString historyFailureMessage;
    static const QString archiveFailureMessage;

    // Without a data folder nothing is read or written. The writer and the clock must outlive
    // this object.
    explicit PortfolioFiles(SupportFolder folder,
                            PortfolioDiskWriter* writer = nullptr,  // the shared writer
                            const Clock& clock = Clock::system());

    bool isAvailable() const { return m_folder.isAvailable(); }
    const SupportFolder& folder() const { return m_folder; }

    // Empty without a data folder. The identity goes into the name unchanged.
    QString cachePath() const;
    QString historyPath(const QString& identity) const;
    // A new archive name with a fresh random UUID.
    QString newArchivePath() const;

    std::optional<CachedPortfolioSnapshot> loadCachedSnapshot() const;
    // The history of `identity` with its points of the last 90 days (all of them when none is
    // that recent), oldest first. The file itself is not rewritten. A file that is there but
    // cannot be read is set aside like a damaged one.
    std::optional<PortfolioHistory> loadValueHistory(const QString& identity) const;

    // Write requests; each returns at once (nothing happens without a data folder). A failure
    // calls `onFailure` with the message of its kind, on the main thread, while `context`
    // lives. A request dropped for its stale revision reports nothing.
    void saveCache(const CachedPortfolioSnapshot& record, quint64 revision, QObject* context,
                   FailureHandler onFailure) const;
    void saveHistory(const PortfolioHistory& record, quint64 revision, QObject* context,
                     FailureHandler onFailure) const;
    // The archive of `record.identity`'s history before a change of the tracked accounts. The
    // history file is not replaced until this archive has been written.
    void saveArchive(const PortfolioHistory& record, quint64 revision, QObject* context,
                     FailureHandler onFailure) const;

private:
    void setAside(const QString& historyPath) const;

    SupportFolder m_folder;
    PortfolioDiskWriter& m_writer;
    const Clock& m_clock;
};

}  // namespace vantrell
