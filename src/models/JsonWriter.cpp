#include "models/JsonWriter.h"

#include "models/JsonError.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace vantrell {

namespace {

// Validating the encoding keeps a broken byte string from producing a file that the reader
// would then reject as a whole.
using Writer = rapidjson::Writer<rapidjson::StringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>,
                                 rapidjson::CrtAllocator, rapidjson::kWriteValidateEncodingFlag>;

void writeValue(Writer& writer, const JsonValue& value);

void writeString(Writer& writer, const std::string& text, bool isKey)
{
    const auto length = static_cast<rapidjson::SizeType>(text.size());
    const bool written =
        isKey ? writer.Key(text.data(), length) : writer.String(text.data(), length);
    if (!written) {
        throw JsonEncodeError("cannot write a string that is not valid UTF-8");
    }
}

void writeValue(Writer& writer, const JsonValue& value)
{
    switch (value.type()) {
        case JsonValue::Type::null:
            writer.Null();
            break;
        case JsonValue::Type::boolean:
            writer.Bool(value.boolValue());
            break;
        case JsonValue::Type::number:
            // Written as stored: the exact digits of an amount, never through a double.
            writer.RawValue(value.text().data(), value.text().size(), rapidjson::kNumberType);
            break;
        case JsonValue::Type::string:
            writeString(writer, value.text(), false);
            break;
        case JsonValue::Type::array:
            writer.StartArray();
            for (const JsonValue& item : value.items()) {
                writeValue(writer, item);
            }
            writer.EndArray();
            break;
        case JsonValue::Type::object:
            writer.StartObject();
            for (const JsonMember& member : value.members()) {
                writeString(writer, member.key, true);
                writeValue(writer, member.value);
            }
            writer.EndObject();
            break;
    }
}

}  // namespace

QByteArray JsonWriter::write(const JsonValue& value)
{
    rapidjson::StringBuffer buffer;
    Writer writer(buffer);
    writeValue(writer, value);
    return QByteArray(buffer.GetString(), static_cast<qsizetype>(buffer.GetSize()));
}

}  // namespace vantrell
