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

}  // namespace vantrell
