#include "concurrency/CancellationToken.h"

#include <algorithm>
#include <utility>

namespace vantrell {

void CancellationToken::cancel()
{
    if (m_cancelled) {
        return;
    }
    m_cancelled = true;
    // A callback may resume a coroutine that removes its own registration or registers another
    // one: run them from a list of our own so the member list can change meanwhile.
    const auto callbacks = std::exchange(m_callbacks, {});
    for (const auto& [id, callback] : callbacks) {
        callback();
    }
}

int CancellationToken::onCancel(std::function<void()> callback)
{
    const int id = m_nextId++;
    if (m_cancelled) {
        callback();
    } else {
        m_callbacks.emplace_back(id, std::move(callback));
    }
    return id;
}

void CancellationToken::removeCallback(int id)
{
    std::erase_if(m_callbacks, [id](const auto& entry) { return entry.first == id; });
}

}  // namespace vantrell
