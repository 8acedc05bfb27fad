#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace vantrell {

// Enumerations whose stored string is both their JSON form and their display text provide a
// `toStored(E)` overload and a specialisation of `fromStored<E>`, which accepts exactly the
// stored strings (case-sensitive) and gives nothing for anything else.
template <typename E>
std::optional<E> fromStored(QStringView text);

// The value among `all` whose stored string is exactly `text`; the common body of fromStored.
template <typename E, typename List>
std::optional<E> findStored(const List& all, QStringView text)
{
    for (const E value : all) {
        if (toStored(value) == text) {
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace vantrell
