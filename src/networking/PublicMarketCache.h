#pragma once

#include "models/Date.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QUrl>

#include <mutex>
#include <optional>

namespace vantrell {

// Raw bodies of recent public market replies, so that the accounts of all exchanges asking for
// the same ticker list within one refresh cycle cost one request. Expiry is decided at lookup
// time only; nothing purges on a timer. Memory stays bounded by the entry and body limits.
//
// Used from the main thread in practice; the mutex keeps it sound should a worker thread ever
// touch it, and costs nothing measurable next to a network round trip.
class PublicMarketCache {
public:
    static constexpr double timeToLive = 15;             // seconds
    static constexpr qsizetype largestBody = 8'388'608;  // 8 MiB; larger bodies are not kept
    static constexpr qsizetype entryLimit = 16;

    // The one process-wide cache, created empty on first use.
    static PublicMarketCache& shared();

    PublicMarketCache() = default;
    PublicMarketCache(const PublicMarketCache&) = delete;
    PublicMarketCache& operator=(const PublicMarketCache&) = delete;

    // The body stored for exactly `url` when it is younger than the time to live at `at`. An
    // entry stored later than `at` counts as fresh. A stale entry is left in place.
    std::optional<QByteArray> value(const QUrl& url, Date at) const;

    // Stores `body` for `url` as of `at`, replacing any earlier entry for it. When the cache is
    // full, the entry stored earliest is evicted first, even if `url` itself is held, so a
    // replacement may leave one slot free.
    void insert(QByteArray body, const QUrl& url, Date at);

    // Drops every entry. Tests clear the process-wide cache between cases: it is keyed by the
    // whole URL, and a loopback port reused within the time to live would serve stale replies.
    void clear();

private:
    struct Entry {
        Date date;
        QByteArray data;
    };

    static QString keyFor(const QUrl& url) { return url.toString(QUrl::FullyEncoded); }
    void evictEarliest();

    mutable std::mutex m_mutex;
    QHash<QString, Entry> m_entries;
};

}  // namespace vantrell
