#pragma once

#include "models/JsonValue.h"

#include <QByteArray>

class QIODevice;

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace vantrell {

class JsonView;

// A parsed JSON text for reading: every value is one node in a flat array, in document order,
// and a string or number node points at its text instead of owning a copy. Texts without escapes
// are read where they stand in the input (a padded QByteArray, shared, or the document's own
// copy); only escaped strings are decoded into a side buffer. Building one costs a few
// allocations, whatever the size.
//
// Accepts exactly what JsonReader accepts and fails with exactly its errors: the fast scan
// (JsonTapeWriter) hands any text it is not sure of (an error, a number RapidJSON might call too
// big, nesting past the limit) to JsonReader, which then either throws its error or returns the
// tree this document is built from.
class JsonDocument {
public:
    // One value. A container's children follow it: an array's items, an object's key and value
    // nodes in turn. `span` counts the nodes of the value with its descendants, so the next sibling
    // is `span` nodes further on.
    struct Node {
        union {
            const char* text;  // string or number: the UTF-8 bytes (not terminated)
            std::uint64_t span;
        };
        std::uint32_t size;  // text bytes, or a container's items or members
        JsonValue::Type type;
        bool boolean;

        std::string_view textView() const { return {text, size}; }
        const Node* next() const { return isContainer() ? this + span : this + 1; }
        bool isContainer() const
        {
            return type == JsonValue::Type::array || type == JsonValue::Type::object;
        }
    };

    // Bytes the scanner may read past the end of a text. A QByteArray with this much room after
    // its bytes is read where it lies; any other text is copied first.
    static constexpr std::size_t padding = 64;
    // Up to `size` bytes of `device`, in a buffer with that room after them (empty when the read
    // fails; the device keeps its error).
    static QByteArray readPadded(QIODevice& device, qint64 size);

    JsonDocument(JsonDocument&&) noexcept = default;
    JsonDocument& operator=(JsonDocument&&) noexcept = default;
    ~JsonDocument();

    // Throws JsonDecodeError with JsonReader's message on any error.
    static JsonDocument parse(std::string_view utf8);
    static JsonDocument parse(const QByteArray& utf8);
    // The fast scan alone: nothing when it cannot vouch for the text (invalid, or a case it
    // leaves to JsonReader). Exposed for tests that compare the two readers.
    static std::optional<JsonDocument> scan(std::string_view utf8);
    static std::optional<JsonDocument> scan(const QByteArray& utf8);
    // A document holding the same values as a tree.
    static JsonDocument fromValue(const JsonValue& value);

    JsonView root() const;

private:
    friend class JsonTapeWriter;
    JsonDocument() = default;

    QByteArray m_shared;                // the text when read where it lies
    std::unique_ptr<char[]> m_copy;     // the text, padded, when copied
    const char* m_input = nullptr;      // one of the two
    std::unique_ptr<char[]> m_decoded;  // escaped strings, decoded; never reallocated
    std::unique_ptr<Node[]> m_nodes;    // the root first
};

}  // namespace vantrell
