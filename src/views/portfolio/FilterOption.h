#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

// One item of a filter picker: its text and the filter value it sets (none for "all").
template <typename T>
struct FilterOption {
    QString text;
    std::optional<T> tag;

    friend bool operator==(const FilterOption&, const FilterOption&) = default;
};

// The index of the item whose tag is `value`, or -1 when no item offers it: a filter value that
// no longer exists stays in the filter with nothing selected.
template <typename T>
int indexOfOption(const std::vector<FilterOption<T>>& options, const std::optional<T>& value)
{
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i].tag == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace vantrell
