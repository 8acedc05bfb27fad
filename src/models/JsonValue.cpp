#include "models/JsonValue.h"

#include "models/Decimal.h"
#include "models/JsonError.h"

#include <QByteArray>
#include <QtGlobal>

#include <charconv>
#include <cmath>
#include <new>
#include <utility>

namespace vantrell {

namespace {

// Returned by the accessors when they are misused in a release build, so a programming error
// reads as an empty value instead of touching the wrong union member.
const std::string& emptyText()
{
    static const std::string empty;
    return empty;
}

}  // namespace

JsonValue::JsonValue() : JsonValue(Type::null) {}

JsonValue::JsonValue(Type type) noexcept : m_type(type)
{
    switch (type) {
        case Type::number:
        case Type::string:
            new (&m_text) std::string();
            break;
        case Type::array:
            new (&m_items) Array();
            break;
        case Type::object:
            new (&m_members) Object();
            break;
        case Type::null:
        case Type::boolean:
            break;
    }
}

JsonValue::~JsonValue()
{
    destroy();
}

JsonValue::JsonValue(const JsonValue& other) : m_type(Type::null)
{
    copyFrom(other);
}

JsonValue::JsonValue(JsonValue&& other) noexcept : m_type(Type::null)
{
    moveFrom(std::move(other));
}

JsonValue& JsonValue::operator=(const JsonValue& other)
{
    if (this != &other) {
        // Copy first: `other` may live inside this value's own array or object.
        JsonValue copy(other);
        destroy();
        moveFrom(std::move(copy));
    }
    return *this;
}

JsonValue& JsonValue::operator=(JsonValue&& other) noexcept
{
    if (this != &other) {
        // Same reason as above: take `other` out before this value's containers go away.
        JsonValue taken(Type::null);
        taken.moveFrom(std::move(other));
        destroy();
        moveFrom(std::move(taken));
    }
    return *this;
}

void JsonValue::copyFrom(const JsonValue& other)
{
    switch (other.m_type) {
        case Type::number:
        case Type::string:
            new (&m_text) std::string(other.m_text);
            break;
        case Type::array:
            new (&m_items) Array(other.m_items);
            break;
        case Type::object:
            new (&m_members) Object(other.m_members);
            break;
        case Type::null:
        case Type::boolean:
            break;
    }
    m_type = other.m_type;
    m_bool = other.m_bool;
}

// Expects this value to hold nothing (null); leaves `other` null.
void JsonValue::moveFrom(JsonValue&& other) noexcept
{
    switch (other.m_type) {
        case Type::number:
        case Type::string:
            new (&m_text) std::string(std::move(other.m_text));
            break;
        case Type::array:
            new (&m_items) Array(std::move(other.m_items));
            break;
        case Type::object:
            new (&m_members) Object(std::move(other.m_members));
            break;
        case Type::null:
        case Type::boolean:
            break;
    }
    m_type = other.m_type;
    m_bool = other.m_bool;
    other.destroy();
}

void JsonValue::release() noexcept
{
    switch (m_type) {
        case Type::number:
        case Type::string:
            m_text.~basic_string();
            break;
        case Type::array:
            m_items.~Array();
            break;
        case Type::object:
            m_members.~Object();
            break;
        case Type::null:
        case Type::boolean:
            break;
    }
}

void JsonValue::destroy() noexcept
{
    release();
    m_type = Type::null;
    m_bool = false;
}

JsonValue JsonValue::null()
{
    return JsonValue();
}

JsonValue JsonValue::boolean(bool value)
{
    JsonValue result(Type::boolean);
    result.m_bool = value;
    return result;
}

JsonValue JsonValue::numberText(std::string text)
{
    Q_ASSERT(!text.empty());
    JsonValue result(Type::number);
    result.m_text = std::move(text);
    return result;
}

JsonValue JsonValue::number(const Decimal& value)
{
    return numberText(value.toString());
}

JsonValue JsonValue::number(long long value)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    Q_ASSERT(error == std::errc());
    return numberText(std::string(buffer, end));
}

JsonValue JsonValue::number(double value)
{
    if (!std::isfinite(value)) {
        throw JsonEncodeError("cannot write a non-finite number as JSON");
    }
    // Shortest digits that read back as the same double. Plain notation in the everyday range
    // (a date is "750000000", not "7.5e+08"), an exponent only for very large or tiny values.
    const double magnitude = std::fabs(value);
    const bool plain = magnitude == 0 || (magnitude >= 1e-6 && magnitude < 1e21);
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value,
                      plain ? std::chars_format::fixed : std::chars_format::scientific);
    Q_ASSERT(error == std::errc());
    return numberText(std::string(buffer, end));
}

JsonValue JsonValue::string(std::string utf8)
{
    JsonValue result(Type::string);
    result.m_text = std::move(utf8);
    return result;
}

JsonValue JsonValue::string(const QString& text)
{
    return string(text.toUtf8().toStdString());
}

JsonValue JsonValue::array()
{
    return JsonValue(Type::array);
}

JsonValue JsonValue::array(Array items)
{
    JsonValue result(Type::array);
    result.m_items = std::move(items);
    return result;
}

JsonValue JsonValue::object()
{
    return JsonValue(Type::object);
}

JsonValue JsonValue::object(Object members)
{
    JsonValue result(Type::object);
    result.m_members = std::move(members);
    return result;
}

bool JsonValue::boolValue() const
{
    Q_ASSERT(isBool());
    return isBool() && m_bool;
}

const std::string& JsonValue::text() const
{
    Q_ASSERT(isNumber() || isString());
    return isNumber() || isString() ? m_text : emptyText();
}

QString JsonValue::toQString() const
{
    Q_ASSERT(isString());
    if (!isString()) {
        return {};
    }
    return QString::fromUtf8(m_text.data(), static_cast<qsizetype>(m_text.size()));
}

const JsonValue::Array& JsonValue::items() const
{
    Q_ASSERT(isArray());
    static const Array empty;
    return isArray() ? m_items : empty;
}

JsonValue::Array& JsonValue::items()
{
    Q_ASSERT(isArray());
    if (!isArray()) {
        // A misuse in a release build: turn the value into an empty array rather than hand out
        // the wrong union member.
        *this = array();
    }
    return m_items;
}

const JsonValue::Object& JsonValue::members() const
{
    Q_ASSERT(isObject());
    static const Object empty;
    return isObject() ? m_members : empty;
}

JsonValue::Object& JsonValue::members()
{
    Q_ASSERT(isObject());
    if (!isObject()) {
        *this = object();
    }
    return m_members;
}

const JsonValue* JsonValue::find(std::string_view key) const
{
    if (!isObject()) {
        return nullptr;
    }
    // Duplicate keys: the last one wins, as in the decoders the files were written for.
    for (auto member = m_members.rbegin(); member != m_members.rend(); ++member) {
        if (member->key == key) {
            return &member->value;
        }
    }
    return nullptr;
}

void JsonValue::insert(std::string key, JsonValue value)
{
    members().push_back(JsonMember{std::move(key), std::move(value)});
}

bool operator==(const JsonValue& a, const JsonValue& b)
{
    if (a.m_type != b.m_type) {
        return false;
    }
    switch (a.m_type) {
        case JsonValue::Type::null:
            return true;
        case JsonValue::Type::boolean:
            return a.m_bool == b.m_bool;
        case JsonValue::Type::number:
        case JsonValue::Type::string:
            return a.m_text == b.m_text;
        case JsonValue::Type::array:
            return a.m_items == b.m_items;
        case JsonValue::Type::object:
            return a.m_members == b.m_members;
    }
    return false;
}

}  // namespace vantrell
