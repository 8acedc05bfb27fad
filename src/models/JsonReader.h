#pragma once

#include "models/JsonValue.h"

#include <QByteArray>

#include <string_view>

namespace vantrell {

// Parses JSON text (RapidJSON's SAX reader, numbers kept as text) into a JsonValue tree. Replies
// and files are read through JsonDocument, which is faster and leaves to this reader whatever
// it cannot vouch for, so the two accept the same texts and fail with the same errors.
// Any top-level value is accepted ("null", "3", "[]"); empty text, trailing garbage, invalid
// UTF-8 and nesting deeper than `maxDepth` are errors.
class JsonReader {
public:
    static constexpr int maxDepth = 512;

    // Throws JsonDecodeError with a one-line description on any error.
    static JsonValue parse(std::string_view utf8);
    static JsonValue parse(const QByteArray& utf8);
};

}  // namespace vantrell
