#include "models/JsonDocument.h"

#include "models/JsonReader.h"
#include "models/JsonTapeWriter.h"
#include "models/JsonView.h"

#include <simdjson.h>
#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace vantrell {

namespace {

using Node = JsonDocument::Node;
using Type = JsonValue::Type;

// Copies a tree's texts into the document's buffer and writes its nodes.
class TreeWriter {
public:
    TreeWriter(std::vector<Node>& nodes, char* texts) : m_nodes(nodes), m_texts(texts) {}

    static std::size_t textBytes(const JsonValue& value)
    {
        switch (value.type()) {
            case Type::number:
            case Type::string:
                return value.text().size();
            case Type::array: {
                std::size_t bytes = 0;
                for (const JsonValue& item : value.items()) {
                    bytes += textBytes(item);
                }
                return bytes;
            }
            case Type::object: {
                std::size_t bytes = 0;
                for (const JsonMember& member : value.members()) {
                    bytes += member.key.size() + textBytes(member.value);
                }
                return bytes;
            }
            case Type::null:
            case Type::boolean:
                break;
        }
        return 0;
    }

    void write(const JsonValue& value)
    {
        const std::size_t at = m_nodes.size();
        Node node{};
        node.type = value.type();
        switch (value.type()) {
            case Type::boolean:
                node.boolean = value.boolValue();
                m_nodes.push_back(node);
                return;
            case Type::number:
            case Type::string:
                m_nodes.push_back(text(value.type(), value.text()));
                return;
            case Type::array:
                m_nodes.push_back(node);
                for (const JsonValue& item : value.items()) {
                    write(item);
                }
                m_nodes[at].size = static_cast<std::uint32_t>(value.items().size());
                break;
            case Type::object:
                m_nodes.push_back(node);
                for (const JsonMember& member : value.members()) {
                    m_nodes.push_back(text(Type::string, member.key));
                    write(member.value);
                }
                m_nodes[at].size = static_cast<std::uint32_t>(value.members().size());
                break;
            case Type::null:
                m_nodes.push_back(node);
                return;
        }
        m_nodes[at].span = m_nodes.size() - at;
    }

private:
    Node text(Type type, std::string_view bytes)
    {
        Node node{};
        std::memcpy(m_texts, bytes.data(), bytes.size());
        node.text = m_texts;
        node.size = static_cast<std::uint32_t>(bytes.size());
        node.type = type;
        m_texts += bytes.size();
        return node;
    }

    std::vector<Node>& m_nodes;
    char* m_texts;
};

}  // namespace

JsonDocument::~JsonDocument() = default;

static_assert(JsonDocument::padding >= simdjson::SIMDJSON_PADDING);

std::optional<JsonDocument> JsonDocument::scan(std::string_view utf8)
{
    if (utf8.empty() || utf8.size() >= std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    JsonDocument document;
    document.m_copy = std::make_unique_for_overwrite<char[]>(utf8.size() + padding);
    std::memcpy(document.m_copy.get(), utf8.data(), utf8.size());
    std::memset(document.m_copy.get() + utf8.size(), 0, padding);
    document.m_input = document.m_copy.get();
    if (!JsonTapeWriter(document, utf8.size()).write()) {
        return std::nullopt;
    }
    return document;
}

namespace {

// Only the room after the bytes counts: an array whose front was removed keeps free space before
// them, which capacity() includes. (Qt offers the data pointer only through a non-const accessor,
// which neither detaches nor changes anything.)
qsizetype roomAfter(const QByteArray& bytes)
{
    return const_cast<QByteArray&>(bytes).data_ptr().freeSpaceAtEnd();
}

}  // namespace

std::optional<JsonDocument> JsonDocument::scan(const QByteArray& utf8)
{
    const auto size = static_cast<std::size_t>(utf8.size());
    if (roomAfter(utf8) < static_cast<qsizetype>(padding)) {
        return scan(std::string_view(utf8.constData(), size));
    }
    if (utf8.isEmpty() || size >= std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    JsonDocument document;
    document.m_shared = utf8;  // shares the bytes, which stay as they are while it lives
    document.m_input = document.m_shared.constData();
    if (!JsonTapeWriter(document, size).write()) {
        return std::nullopt;
    }
    return document;
}

JsonDocument JsonDocument::parse(std::string_view utf8)
{
    if (std::optional<JsonDocument> scanned = scan(utf8)) {
        return std::move(*scanned);
    }
    // Throws the reader's error, or reads what the scan left to it.
    return fromValue(JsonReader::parse(utf8));
}

JsonDocument JsonDocument::parse(const QByteArray& utf8)
{
    if (std::optional<JsonDocument> scanned = scan(utf8)) {
        return std::move(*scanned);
    }
    return fromValue(JsonReader::parse(utf8));
}

QByteArray JsonDocument::readPadded(QIODevice& device, qint64 size)
{
    QByteArray bytes;
    bytes.reserve(size + static_cast<qint64>(padding));
    bytes.resize(size);
    bytes.resize(std::max<qint64>(device.read(bytes.data(), size), 0));
    return bytes;
}

JsonDocument JsonDocument::fromValue(const JsonValue& value)
{
    JsonDocument document;
    document.m_decoded = std::make_unique_for_overwrite<char[]>(TreeWriter::textBytes(value) + 1);
    std::vector<Node> nodes;
    TreeWriter(nodes, document.m_decoded.get()).write(value);
    document.m_nodes = std::make_unique_for_overwrite<Node[]>(nodes.size());
    std::copy(nodes.begin(), nodes.end(), document.m_nodes.get());
    return document;
}

JsonView JsonDocument::root() const
{
    return JsonView(m_nodes[0]);
}

}  // namespace vantrell
