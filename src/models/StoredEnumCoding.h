#pragma once

#include "models/AccountType.h"
#include "models/Exchange.h"
#include "models/JsonCoding.h"
#include "models/PositionSide.h"

namespace vantrell {

// Enumerations are coded as their stored strings; any other string fails the decoding.
template <typename E>
struct StoredEnumCoder {
    static E decode(const JsonView& value)
    {
        const QString text = JsonCoder<QString>::decode(value);
        if (auto parsed = fromStored<E>(text)) {
            return *parsed;
        }
        json::fail("unknown value \"" + text.toStdString() + "\"");
    }
    static JsonValue encode(E value) { return JsonValue::string(toStored(value)); }
};

template <>
struct JsonCoder<Exchange> : StoredEnumCoder<Exchange> {
};
template <>
struct JsonCoder<AccountType> : StoredEnumCoder<AccountType> {
};
template <>
struct JsonCoder<PositionSide> : StoredEnumCoder<PositionSide> {
};

}  // namespace vantrell
