#include "platform/MemoryDefaultsStore.h"

namespace vantrell {

QVariant MemoryDefaultsStore::value(const QString& key) const
{
    return m_values.value(key);
}

bool MemoryDefaultsStore::contains(const QString& key) const
{
    return m_values.contains(key);
}

bool MemoryDefaultsStore::setValue(const QString& key, const QVariant& value)
{
    if (m_writesFail) {
        return false;
    }
    m_values.insert(key, value);
    return true;
}

bool MemoryDefaultsStore::remove(const QString& key)
{
    if (m_writesFail) {
        return false;
    }
    m_values.remove(key);
    return true;
}

}  // namespace vantrell
