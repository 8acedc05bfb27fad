#pragma once

#include <QString>

namespace vantrell {

// The placeholder a list page shows instead of its table.
struct ListEmptyState {
    QString symbol;
    QString title;
    QString description;

    friend bool operator==(const ListEmptyState&, const ListEmptyState&) = default;
};

}  // namespace vantrell
