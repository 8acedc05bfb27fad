#pragma once

#include "models/Date.h"
#include "models/Decimal.h"
#include "models/JsonError.h"
#include "models/JsonValue.h"
#include "models/JsonView.h"

#include <QString>

#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace vantrell {

// Typed decoding and encoding of JSON values. A record type T takes part by providing
// `static T fromJson(const JsonView&)` and `JsonValue toJson() const`; lists, optionals and
// the scalar types below are handled here. Decoding reads a view, so a parsed document and a
// tree built in code decode alike; a record that only reads trees is handed a copy as a tree.
//
// Decoding is strict: a value of the wrong JSON type throws JsonDecodeError. Strings are never
// read as numbers, nor numbers as strings.
template <typename T>
struct JsonCoder {
    static T decode(const JsonView& value)
    {
        if constexpr (requires { T::fromJson(value); }) {
            return T::fromJson(value);
        } else {
            return T::fromJson(value.toValue());
        }
    }
    static JsonValue encode(const T& value) { return value.toJson(); }
};

template <>
struct JsonCoder<bool> {
    static bool decode(const JsonView& value);
    static JsonValue encode(bool value) { return JsonValue::boolean(value); }
};

template <>
struct JsonCoder<QString> {
    static QString decode(const JsonView& value);
    static JsonValue encode(const QString& value) { return JsonValue::string(value); }
};

// A JSON number read exactly from its text.
template <>
struct JsonCoder<Decimal> {
    static Decimal decode(const JsonView& value);
    static JsonValue encode(const Decimal& value) { return JsonValue::number(value); }
};

template <>
struct JsonCoder<double> {
    static double decode(const JsonView& value);
    static JsonValue encode(double value) { return JsonValue::number(value); }
};

template <>
struct JsonCoder<int> {
    static int decode(const JsonView& value);  // integral JSON number within int's range
    static JsonValue encode(int value) { return JsonValue::number(static_cast<long long>(value)); }
};

// Seconds since 2001-01-01 00:00:00 UTC as a JSON number.
template <>
struct JsonCoder<Date> {
    static Date decode(const JsonView& value);
    static JsonValue encode(const Date& value)
    {
        return JsonValue::number(value.secondsSinceReferenceDate);
    }
};

template <typename T>
struct JsonCoder<std::vector<T>> {
    static std::vector<T> decode(const JsonView& value);
    static JsonValue encode(const std::vector<T>& values);
};

// JSON null decodes to nothing; nothing encodes to null (records leave such keys out instead).
template <typename T>
struct JsonCoder<std::optional<T>> {
    static std::optional<T> decode(const JsonView& value)
    {
        if (value.isNull()) {
            return std::nullopt;
        }
        return JsonCoder<T>::decode(value);
    }
    static JsonValue encode(const std::optional<T>& value)
    {
        return value ? JsonCoder<T>::encode(*value) : JsonValue::null();
    }
};

// A JSON object with string keys.
template <typename T>
struct JsonCoder<std::map<QString, T>> {
    static std::map<QString, T> decode(const JsonView& value);
    static JsonValue encode(const std::map<QString, T>& values);
};

template <typename T>
T decodeJson(const JsonView& value)
{
    return JsonCoder<T>::decode(value);
}

template <typename T>
JsonValue encodeJson(const T& value)
{
    return JsonCoder<T>::encode(value);
}

namespace json {

// The object itself, or JsonDecodeError when `value` is not an object.
JsonView requireObject(const JsonView& value);

// A required key: missing, null or of the wrong type throws JsonDecodeError.
template <typename T>
T required(const JsonView& object, std::string_view key);
// The same for a member already looked up under `key` (see JsonView::findEach).
template <typename T>
T requiredMember(const std::optional<JsonView>& value, std::string_view key);

// An optional key: missing or null gives nothing; present with the wrong type throws.
template <typename T>
std::optional<T> optional(const JsonView& object, std::string_view key);

// Adds `key` to an object being built; `optionalValue` adds nothing when absent.
template <typename T>
void put(JsonValue& object, std::string key, const T& value)
{
    object.insert(std::move(key), encodeJson(value));
}
template <typename T>
void putOptional(JsonValue& object, std::string key, const std::optional<T>& value)
{
    if (value) {
        object.insert(std::move(key), encodeJson(*value));
    }
}

[[noreturn]] void fail(std::string message);

}  // namespace json

// ---- template definitions --------------------------------------------------------------------

template <typename T>
std::vector<T> JsonCoder<std::vector<T>>::decode(const JsonView& value)
{
    if (!value.isArray()) {
        json::fail("expected an array");
    }
    std::vector<T> result;
    result.reserve(value.items().size());
    for (const JsonView item : value.items()) {
        result.push_back(JsonCoder<T>::decode(item));
    }
    return result;
}

template <typename T>
JsonValue JsonCoder<std::vector<T>>::encode(const std::vector<T>& values)
{
    JsonValue::Array items;
    items.reserve(values.size());
    for (const T& item : values) {
        items.push_back(JsonCoder<T>::encode(item));
    }
    return JsonValue::array(std::move(items));
}

template <typename T>
std::map<QString, T> JsonCoder<std::map<QString, T>>::decode(const JsonView& value)
{
    std::map<QString, T> result;
    for (const JsonMemberView member : json::requireObject(value).members()) {
        result.insert_or_assign(
            QString::fromUtf8(member.key.data(), static_cast<qsizetype>(member.key.size())),
            JsonCoder<T>::decode(member.value));
    }
    return result;
}

template <typename T>
JsonValue JsonCoder<std::map<QString, T>>::encode(const std::map<QString, T>& values)
{
    JsonValue object = JsonValue::object();
    for (const auto& [key, item] : values) {
        object.insert(key.toStdString(), JsonCoder<T>::encode(item));
    }
    return object;
}

namespace json {

template <typename T>
T required(const JsonView& object, std::string_view key)
{
    return requiredMember<T>(requireObject(object).find(key), key);
}

template <typename T>
T requiredMember(const std::optional<JsonView>& value, std::string_view key)
{
    if (!value || value->isNull()) {
        fail("missing key \"" + std::string(key) + "\"");
    }
    try {
        return JsonCoder<T>::decode(*value);
    } catch (const JsonDecodeError& error) {
        fail("key \"" + std::string(key) + "\": " + error.what());
    }
}

template <typename T>
std::optional<T> optional(const JsonView& object, std::string_view key)
{
    const std::optional<JsonView> value = requireObject(object).find(key);
    if (!value || value->isNull()) {
        return std::nullopt;
    }
    try {
        return JsonCoder<T>::decode(*value);
    } catch (const JsonDecodeError& error) {
        fail("key \"" + std::string(key) + "\": " + error.what());
    }
}

}  // namespace json

}  // namespace vantrell
