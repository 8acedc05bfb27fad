#include "platform/DefaultsChange.h"

namespace vantrell {

DefaultsChange& DefaultsChange::set(const QString& key, const QVariant& value)
{
    m_writes.push_back({key, value});
    return *this;
}

DefaultsChange& DefaultsChange::remove(const QString& key)
{
    m_writes.push_back({key, std::nullopt});
    return *this;
}

}  // namespace vantrell
