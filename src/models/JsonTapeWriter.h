#pragma once

#include "models/JsonDocument.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace simdjson::internal {
class dom_parser_implementation;
}

namespace vantrell {

// Writes a document's nodes from the token positions of the vector scanner (simdjson's first
// stage, which has already checked the UTF-8, the quotes and the control characters). It follows
// JSON's grammar token by token and gives up at the first thing it cannot vouch for; the caller
// then leaves the text to JsonReader.
class JsonTapeWriter {
public:
    JsonTapeWriter(JsonDocument& document, std::size_t inputSize);

    // Scans the document's padded input and writes its nodes; false when it gives up.
    bool write();
    // Frees this thread's scanner, which keeps the size of the largest text it read; the next
    // text makes a new one.
    static void releaseScanner();

private:
    struct Open {
        JsonDocument::Node* node;
        std::uint32_t count;
        bool object;
    };

    bool walk(const std::uint32_t* at);
    std::string_view token(const std::uint32_t* at) const;
    bool scalar(const std::uint32_t* at);
    bool string(const std::uint32_t* at);
    bool open(JsonValue::Type type);
    void close();
    bool pushDecoded(const char* content);
    // Nodes are written in place: a node assembled on the stack and copied is read back before
    // its narrow fields have left the store buffer, which stalls on every value.
    void pushScalar(JsonValue::Type type, bool flag)
    {
        JsonDocument::Node& node = *m_next++;
        node.text = nullptr;
        node.size = 0;
        node.type = type;
        node.boolean = flag;
    }
    void pushText(JsonValue::Type type, std::string_view text)
    {
        JsonDocument::Node& node = *m_next++;
        node.text = text.data();
        node.size = static_cast<std::uint32_t>(text.size());
        node.type = type;
        node.boolean = false;
    }

    JsonDocument& m_document;
    JsonDocument::Node* m_next = nullptr;  // where the next node goes
    const char* m_input;
    std::size_t m_inputSize;
    simdjson::internal::dom_parser_implementation* m_scanner = nullptr;
    const std::uint32_t* m_end = nullptr;  // past the last token
    std::vector<Open> m_open;
    std::size_t m_decodedSize = 0;
};

}  // namespace vantrell
