#pragma once

#include "models/StoredEnum.h"
#include "platform/DefaultsStore.h"

#include <QStringView>
#include <QVariant>

#include <optional>

namespace vantrell {

// One entry of the defaults store: its key and the value that stands in when the key is absent
// or holds something this program does not understand. How the value is stored is decided by
// its type, through `PreferenceCoding<T>`.
template <typename T>
struct Preference {
    QStringView key;
    T fallback;
};

// Specialised per stored type: `static std::optional<T> decode(const QVariant&)` (nothing when
// the stored value is not understood) and `static QVariant encode(const T&)`.
template <typename T>
struct PreferenceCoding;

// Choice enumerations are stored as their stored string; anything that is not exactly one of
// them, including a value that is not text, is not understood.
template <typename E>
struct ChoicePreferenceCoding {
    static std::optional<E> decode(const QVariant& stored)
    {
        if (stored.typeId() != QMetaType::QString) {
            return std::nullopt;
        }
        return fromStored<E>(stored.toString());
    }
    static QVariant encode(E value) { return toStored(value); }
};

// A stored Boolean. A file-backed store hands Booleans back as "true"/"false" and numbers as
// text, so texts and numbers are read the way a Boolean is read from text: "true"/"yes" in any
// case or a non-zero number are true; every other present value is false.
bool storedBoolean(const QVariant& stored);

// A stored number, also when a file-backed store hands it back as text; text is read without
// regard to the locale. An absent key or a value that is not a number reads as 0.
double storedNumber(const QVariant& stored);
// The same reading, but nothing for an absent key or a value that is not a number.
std::optional<double> storedNumberIfAny(const QVariant& stored);

template <>
struct PreferenceCoding<bool> {
    static std::optional<bool> decode(const QVariant& stored) { return storedBoolean(stored); }
    static QVariant encode(bool value) { return value; }
};

// Text as stored; a value that is not text is not understood.
template <>
struct PreferenceCoding<QString> {
    static std::optional<QString> decode(const QVariant& stored)
    {
        if (stored.typeId() != QMetaType::QString) {
            return std::nullopt;
        }
        return stored.toString();
    }
    static QVariant encode(const QString& value) { return value; }
};

// A number that may be absent: a stored number (or numeric text) is present, anything else
// reads as absent.
template <>
struct PreferenceCoding<std::optional<double>> {
    static std::optional<std::optional<double>> decode(const QVariant& stored)
    {
        return std::optional<double>(storedNumberIfAny(stored));
    }
    static QVariant encode(const std::optional<double>& value)
    {
        return value ? QVariant(*value) : QVariant();
    }
};

// Reading never writes: an unknown stored value stays in the store until the user changes that
// preference, while the program uses the fallback.
template <typename T>
T readPreference(const DefaultsStore& defaults, const Preference<T>& preference)
{
    const QVariant stored = defaults.value(preference.key.toString());
    if (!stored.isValid()) {
        return preference.fallback;
    }
    return PreferenceCoding<T>::decode(stored).value_or(preference.fallback);
}

// False when the store could not save the value.
template <typename T>
bool writePreference(DefaultsStore& defaults, const Preference<T>& preference, const T& value)
{
    return defaults.setValue(preference.key.toString(), PreferenceCoding<T>::encode(value));
}

}  // namespace vantrell
