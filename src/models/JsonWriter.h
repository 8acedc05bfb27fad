#pragma once

#include "models/JsonValue.h"

#include <QByteArray>

namespace vantrell {

// Writes a JsonValue tree as compact JSON text (RapidJSON's writer; numbers written raw from
// their exact text, strings escaped by the library).
class JsonWriter {
public:
    static QByteArray write(const JsonValue& value);
};

}  // namespace vantrell
