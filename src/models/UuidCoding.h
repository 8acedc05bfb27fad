#pragma once

#include "models/JsonCoding.h"
#include "models/Uuid.h"

namespace vantrell {

// A UUID is coded as its 36-character text: written in upper case, read in either case.
template <>
struct JsonCoder<Uuid> {
    static Uuid decode(const JsonView& value)
    {
        if (auto uuid = Uuid::fromString(JsonCoder<QString>::decode(value))) {
            return *uuid;
        }
        json::fail("malformed UUID");
    }
    static JsonValue encode(const Uuid& value) { return JsonValue::string(value.toString()); }
};

}  // namespace vantrell
