#include "platform/MemoryDefaultsStore.h"

#include <algorithm>

namespace vantrell {

QVariant MemoryDefaultsStore::value(const QString& key) const
{
    return m_values.value(key);
}

bool MemoryDefaultsStore::contains(const QString& key) const
{
    return m_values.contains(key);
}

bool MemoryDefaultsStore::apply(const DefaultsChange& change)
{
    if (refuses(change)) {
        return false;
    }
    for (const DefaultsChange::Write& write : change.writes()) {
        if (write.value) {
            m_values.insert(write.key, *write.value);
        } else {
            m_values.remove(write.key);
        }
    }
    return true;
}

bool MemoryDefaultsStore::refuses(const DefaultsChange& change) const
{
    if (m_writesFail) {
        return true;
    }
    return m_refuses && std::any_of(change.writes().begin(), change.writes().end(),
                                    [this](const auto& write) { return m_refuses(write.key); });
}

}  // namespace vantrell
