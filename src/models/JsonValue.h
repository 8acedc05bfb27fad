#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantrell {

class Decimal;
struct JsonMember;

// One JSON value as read from or written to text. Unlike a DOM that parses numbers as strings,
// it keeps a number's exact text *and* remembers that it was a number, so amounts stay exact
// and a string where a number belongs (or the reverse) can be rejected.
class JsonValue {
public:
    enum class Type : std::uint8_t { null, boolean, number, string, array, object };
    using Array = std::vector<JsonValue>;
    using Object = std::vector<JsonMember>;  // in document order

    JsonValue();  // null
    ~JsonValue();
    JsonValue(const JsonValue&);
    JsonValue(JsonValue&&) noexcept;
    JsonValue& operator=(const JsonValue&);
    JsonValue& operator=(JsonValue&&) noexcept;

    static JsonValue null();
    static JsonValue boolean(bool value);
    // `text` must already be valid JSON number text; the reader and the helpers below ensure it.
    static JsonValue numberText(std::string text);
    static JsonValue number(const Decimal& value);  // plain text, all digits
    static JsonValue number(long long value);
    // Shortest text that reads back as the same double. Throws JsonEncodeError for NaN or
    // infinity: such a value must never reach a file.
    static JsonValue number(double value);
    static JsonValue string(std::string utf8);
    static JsonValue string(const QString& text);
    // UTF-8 literal; without it, string("...") would be ambiguous between the two above.
    static JsonValue string(const char* utf8) { return string(std::string(utf8)); }
    // Separate empty overloads: a `= {}` default would need the element types complete here.
    static JsonValue array();
    static JsonValue array(Array items);
    static JsonValue object();
    static JsonValue object(Object members);

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::null; }
    bool isBool() const { return m_type == Type::boolean; }
    bool isNumber() const { return m_type == Type::number; }
    bool isString() const { return m_type == Type::string; }
    bool isArray() const { return m_type == Type::array; }
    bool isObject() const { return m_type == Type::object; }

    // Accessors; calling one on a value of another type is a programming error (asserted).
    bool boolValue() const;
    const std::string& text() const;  // the number's exact text, or the string's UTF-8 bytes
    QString toQString() const;        // a string value as QString
    const Array& items() const;
    Array& items();
    const Object& members() const;
    Object& members();

    // The value of the last member named `key` of an object, or nullptr when the object has
    // no such member (or this is not an object).
    const JsonValue* find(std::string_view key) const;
    // Appends a member to an object (for building values to write).
    void insert(std::string key, JsonValue value);

    friend bool operator==(const JsonValue&, const JsonValue&);

private:
    // The reader's tree builder (JsonReader.cpp) constructs values in place on its stack.
    friend class JsonTreeBuilder;

    explicit JsonValue(Type type) noexcept;
    void copyFrom(const JsonValue& other);
    void moveFrom(JsonValue&& other) noexcept;
    void release() noexcept;  // ends the live member; leaves the fields as they were
    void destroy() noexcept;  // release() and become null

    // Only the member that matches m_type is alive; a null or boolean holds none. The union keeps
    // a node at 40 bytes, which matters when a reply holds tens of thousands of them.
    Type m_type = Type::null;
    bool m_bool = false;
    union {
        std::string m_text;  // number or string
        Array m_items;
        Object m_members;
    };
};

struct JsonMember {
    std::string key;
    JsonValue value;

    friend bool operator==(const JsonMember&, const JsonMember&) = default;
};

}  // namespace vantrell
