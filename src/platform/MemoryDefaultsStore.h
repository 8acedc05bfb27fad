#pragma once

#include "platform/DefaultsStore.h"

#include <QHash>

#include <functional>

namespace vantrell {

// A defaults store that lives only in memory: values keep exactly the type they were stored
// with. Tests use it instead of the user's file; `setWritesFail(true)` makes every change report
// failure and take no effect, so callers' failure paths can be exercised, and
// `refuseWritesTo(test)` does so for the changes that write any key `test` picks.
class MemoryDefaultsStore final : public DefaultsStore {
public:
    QVariant value(const QString& key) const override;
    bool contains(const QString& key) const override;
    bool apply(const DefaultsChange& change) override;

    void setWritesFail(bool fail) { m_writesFail = fail; }
    void refuseWritesTo(std::function<bool(const QString& key)> test)
    {
        m_refuses = std::move(test);
    }
    QList<QString> keys() const { return m_values.keys(); }

private:
    QHash<QString, QVariant> m_values;
    bool refuses(const DefaultsChange& change) const;

    bool m_writesFail = false;
    std::function<bool(const QString&)> m_refuses;
};

}  // namespace vantrell
