#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "models/JsonDocument.h"
#include "models/JsonError.h"
#include "models/JsonReader.h"
#include "models/JsonView.h"
#include "models/JsonWriter.h"

#include <optional>
#include <string_view>

namespace vantrell::fuzz {

namespace {

std::optional<JsonValue> parsed(std::string_view text)
{
    try {
        return JsonReader::parse(text);
    } catch (const JsonDecodeError&) {
        return std::nullopt;
    }
}

}  // namespace

void fuzzJsonReader(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<JsonValue> tree = parsed(text);
    // The fast scan may leave a text to the reader, but whatever it reads the reader must read
    // the same way.
    if (const std::optional<JsonDocument> scanned = JsonDocument::scan(text)) {
        check(tree.has_value(), "the fast scan accepts a text the reader refuses");
        check(scanned->root().toValue() == *tree, "the fast scan reads a text differently");
    }
    if (!tree) {
        return;
    }
    // A tree the reader built must be writable, and what is written must read back as the same
    // tree and write the same text again.
    QByteArray written;
    try {
        written = JsonWriter::write(*tree);
    } catch (const JsonEncodeError& error) {
        fail("the writer refused a tree the reader built", error.what());
    }
    const std::optional<JsonValue> reread = parsed(written.toStdString());
    check(reread.has_value(), "the writer produced text the reader refuses");
    check(*reread == *tree, "a written tree reads back different");
    check(JsonWriter::write(*reread) == written, "a tree written twice gives two texts");
}

}  // namespace vantrell::fuzz
