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
    if (refuses(key)) {
        return false;
    }
    m_values.insert(key, value);
    return true;
}

bool MemoryDefaultsStore::remove(const QString& key)
{
    if (refuses(key)) {
        return false;
    }
    m_values.remove(key);
    return true;
}

bool MemoryDefaultsStore::refuses(const QString& key) const
{
    return m_writesFail || (m_refuses && m_refuses(key));
}

}  // namespace vantrell
