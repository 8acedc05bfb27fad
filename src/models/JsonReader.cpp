#include "models/JsonReader.h"

#include "models/JsonError.h"
#include "models/JsonText.h"

#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <iterator>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace vantrell {

namespace {

constexpr unsigned parseFlags =
    rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag;

}  // namespace

// Builds the tree from the reader's events. Finished values wait on one flat stack until their
// container ends, then move into a vector of exactly the right size: one allocation per array or
// object, none per scalar (short texts stay inside std::string). Values are constructed in place
// on the stack, which is why this class may touch JsonValue's private members.
class JsonTreeBuilder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, JsonTreeBuilder> {
public:
    using Type = JsonValue::Type;

    JsonTreeBuilder()
    {
        m_values.reserve(256);
        m_keys.reserve(64);
    }

    bool Null()
    {
        m_values.emplace_back();
        return true;
    }
    bool Bool(bool value)
    {
        JsonValue& slot = m_values.emplace_back();
        slot.m_type = Type::boolean;
        slot.m_bool = value;
        return true;
    }
    bool RawNumber(const char* text, rapidjson::SizeType length, bool)
    {
        pushText(Type::number, text, length);
        return true;
    }
    bool String(const char* text, rapidjson::SizeType length, bool)
    {
        if (json::holdsSurrogate(std::string_view(text, length))) {
            m_loneSurrogate = true;
            return false;
        }
        pushText(Type::string, text, length);
        return true;
    }
    bool Key(const char* text, rapidjson::SizeType length, bool)
    {
        if (json::holdsSurrogate(std::string_view(text, length))) {
            m_loneSurrogate = true;
            return false;
        }
        m_keys.emplace_back(text, length);
        return true;
    }
    bool StartObject() { return enter(); }
    bool StartArray() { return enter(); }

    bool EndObject(rapidjson::SizeType count)
    {
        const auto firstValue = m_values.end() - count;
        const auto firstKey = m_keys.end() - count;
        JsonValue::Object members;
        members.reserve(count);
        for (rapidjson::SizeType i = 0; i < count; ++i) {
            members.push_back(JsonMember{std::move(firstKey[i]), std::move(firstValue[i])});
        }
        m_values.erase(firstValue, m_values.end());
        m_keys.erase(firstKey, m_keys.end());
        JsonValue& slot = m_values.emplace_back();  // no reallocation: the stack just shrank
        new (&slot.m_members) JsonValue::Object(std::move(members));
        slot.m_type = Type::object;
        --m_depth;
        return true;
    }

    bool EndArray(rapidjson::SizeType count)
    {
        const auto first = m_values.end() - count;
        JsonValue::Array items(std::make_move_iterator(first),
                               std::make_move_iterator(m_values.end()));
        m_values.erase(first, m_values.end());
        JsonValue& slot = m_values.emplace_back();
        new (&slot.m_items) JsonValue::Array(std::move(items));
        slot.m_type = Type::array;
        --m_depth;
        return true;
    }

    // The reader only calls the raw-number event with our flags; anything else is a surprise.
    bool Default() { return false; }

    bool tooDeep() const { return m_tooDeep; }
    bool loneSurrogate() const { return m_loneSurrogate; }
    JsonValue takeRoot() { return std::move(m_values.back()); }

private:
    void pushText(Type type, const char* text, rapidjson::SizeType length)
    {
        JsonValue& slot = m_values.emplace_back();
        new (&slot.m_text) std::string(text, length);
        slot.m_type = type;
    }

    bool enter()
    {
        if (++m_depth > JsonReader::maxDepth) {
            m_tooDeep = true;
            return false;
        }
        return true;
    }

    std::vector<JsonValue> m_values;
    std::vector<std::string> m_keys;
    int m_depth = 0;
    bool m_tooDeep = false;
    bool m_loneSurrogate = false;
};

namespace {

[[noreturn]] void failAt(const std::string& reason, size_t offset)
{
    throw JsonDecodeError("invalid JSON at offset " + std::to_string(offset) + ": " + reason);
}

}  // namespace

JsonValue JsonReader::parse(std::string_view utf8)
{
    // MemoryStream knows the length, so the reader sees every byte. It still reports '\0' both
    // for a NUL byte and for the end, which is why the position is checked after a success.
    rapidjson::MemoryStream stream(utf8.data(), utf8.size());
    rapidjson::Reader reader;
    JsonTreeBuilder builder;
    const rapidjson::ParseResult result = reader.Parse<parseFlags>(stream, builder);
    if (builder.tooDeep()) {
        failAt("nesting deeper than " + std::to_string(maxDepth) + " levels", result.Offset());
    }
    if (builder.loneSurrogate()) {
        failAt("a lone surrogate escape in a string", result.Offset());
    }
    if (result.IsError()) {
        failAt(rapidjson::GetParseError_En(result.Code()), result.Offset());
    }
    if (stream.Tell() != utf8.size()) {
        failAt("a NUL byte follows the value", stream.Tell());
    }
    return builder.takeRoot();
}

JsonValue JsonReader::parse(const QByteArray& utf8)
{
    return parse(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace vantrell
