#include "networking/PublicMarketCache.h"

#include <algorithm>
#include <utility>

namespace vantrell {

PublicMarketCache& PublicMarketCache::shared()
{
    static PublicMarketCache cache;
    return cache;
}

std::optional<QByteArray> PublicMarketCache::value(const QUrl& url, Date at) const
{
    const std::lock_guard lock(m_mutex);
    const auto it = m_entries.constFind(keyFor(url));
    if (it == m_entries.cend() || at.secondsSince(it->date) >= timeToLive) {
        return std::nullopt;
    }
    return it->data;
}

void PublicMarketCache::insert(QByteArray body, const QUrl& url, Date at)
{
    if (body.size() > largestBody) {
        return;
    }
    const std::lock_guard lock(m_mutex);
    if (m_entries.size() >= entryLimit) {
        evictEarliest();
    }
    m_entries.insert(keyFor(url), Entry{at, std::move(body)});
}

void PublicMarketCache::clear()
{
    const std::lock_guard lock(m_mutex);
    m_entries.clear();
}

void PublicMarketCache::evictEarliest()
{
    const auto earliest =
        std::min_element(m_entries.begin(), m_entries.end(),
                         [](const Entry& a, const Entry& b) { return a.date < b.date; });
    m_entries.erase(earliest);
}

}  // namespace vantrell
