#pragma once

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace vantrell {

// Several writes to the defaults store that belong together, such as one account's secrets and
// its list entry: the store saves them as one, or none of them.
class DefaultsChange {
public:
    struct Write {
        QString key;
        std::optional<QVariant> value;  // nothing: the key is removed
    };

    DefaultsChange& set(const QString& key, const QVariant& value);
    DefaultsChange& remove(const QString& key);

    // In the order they were added; a later write of a key wins.
    const std::vector<Write>& writes() const { return m_writes; }

private:
    std::vector<Write> m_writes;
};

}  // namespace vantrell
