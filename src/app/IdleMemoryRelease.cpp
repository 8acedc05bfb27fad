#include "app/IdleMemoryRelease.h"

#include "models/JsonTapeWriter.h"
#include "platform/AllocatorTuning.h"
#include "store/PortfolioStore.h"

#include <utility>

namespace vantrell {

IdleMemoryRelease::IdleMemoryRelease(PortfolioStore& store, std::chrono::milliseconds delay,
                                     Release release, QObject* parent)
    : QObject(parent), m_store(store), m_release(release ? std::move(release) : Release(releaseAll))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delay);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_release(); });
    connect(&store, &PortfolioStore::isRefreshingChanged, this,
            &IdleMemoryRelease::cycleStateChanged);
}

void IdleMemoryRelease::releaseAll()
{
    JsonTapeWriter::releaseScanner();
    releaseUnusedMemory();
}

// A cycle that starts before the wait is over releases only once it has ended in turn.
void IdleMemoryRelease::cycleStateChanged()
{
    if (m_store.isRefreshing()) {
        m_timer.stop();
    } else {
        m_timer.start();
    }
}

}  // namespace vantrell
