#pragma once

#include "platform/DefaultsChange.h"

#include <QString>
#include <QVariant>

namespace vantrell {

// The user's defaults store: every preference, the credentials and the list of additional
// accounts live here under their keys. One instance is shared by the whole program; tests use
// an in-memory one.
//
// Values come back as they were stored where the backend keeps types (QString, QByteArray,
// bool, double, qlonglong, QVariantMap/List); a file-backed store may hand numbers and Booleans
// back as text, so readers convert with QVariant's toDouble()/toString() and check the result.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    // The stored value, or an invalid QVariant when the key is absent.
    virtual QVariant value(const QString& key) const = 0;
    virtual bool contains(const QString& key) const = 0;

    // Saves every write of `change` together, made durable before returning. False when it
    // could not be saved: then none of it took effect, neither on disk nor in what value()
    // answers.
    virtual bool apply(const DefaultsChange& change) = 0;

    // A change of one key.
    bool setValue(const QString& key, const QVariant& value)
    {
        return apply(DefaultsChange().set(key, value));
    }
    bool remove(const QString& key) { return apply(DefaultsChange().remove(key)); }
};

}  // namespace vantrell
