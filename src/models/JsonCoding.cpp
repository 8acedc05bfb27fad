#include "models/JsonCoding.h"

#include "models/DigitWords.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace vantrell {

namespace {

const char* typeName(JsonValue::Type type)
{
    switch (type) {
        case JsonValue::Type::null:
            return "null";
        case JsonValue::Type::boolean:
            return "a boolean";
        case JsonValue::Type::number:
            return "a number";
        case JsonValue::Type::string:
            return "a string";
        case JsonValue::Type::array:
            return "an array";
        case JsonValue::Type::object:
            return "an object";
    }
    return "an unknown value";
}

JsonView expect(const JsonView& value, JsonValue::Type type)
{
    if (value.type() != type) {
        json::fail(std::string("expected ") + typeName(type) + ", found " + typeName(value.type()));
    }
    return value;
}

// A whole number of up to 15 digits (every date the files hold), read without the general
// conversion: below 2^53 it is exactly the double it names.
std::optional<double> smallInteger(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = text.substr(negative ? 1 : 0);
    if (digits.empty() || digits.size() > 15) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    std::size_t end = 0;
    digitWords::read(digits, end, magnitude);
    if (end != digits.size()) {
        return std::nullopt;
    }
    return negative ? -static_cast<double>(magnitude) : static_cast<double>(magnitude);
}

// Every digit of the number's text, never one that does not fit: a double out of range fails
// rather than turning into infinity or zero.
double toDouble(const JsonView& value)
{
    const std::string_view text = expect(value, JsonValue::Type::number).text();
    if (const std::optional<double> whole = smallInteger(text)) {
        return *whole;
    }
    double result = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (error != std::errc() || end != text.data() + text.size()) {
        json::fail("number " + std::string(text) + " does not fit a double");
    }
    return result;
}

}  // namespace

bool JsonCoder<bool>::decode(const JsonView& value)
{
    return expect(value, JsonValue::Type::boolean).boolValue();
}

QString JsonCoder<QString>::decode(const JsonView& value)
{
    return expect(value, JsonValue::Type::string).toQString();
}

Decimal JsonCoder<Decimal>::decode(const JsonView& value)
{
    const std::string_view text = expect(value, JsonValue::Type::number).text();
    const std::optional<Decimal> result = Decimal::parse(text);
    if (!result) {
        json::fail("number " + std::string(text) + " is out of range");
    }
    return *result;
}

double JsonCoder<double>::decode(const JsonView& value)
{
    return toDouble(value);
}

int JsonCoder<int>::decode(const JsonView& value)
{
    const std::string_view text = expect(value, JsonValue::Type::number).text();
    int result = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (error == std::errc() && end == text.data() + text.size()) {
        return result;
    }
    // "5.0" or "1e2" still name an integer; read them exactly, never through a double.
    const std::optional<Decimal> exact = Decimal::parse(text);
    if (exact && *exact == exact->rounded(0, Decimal::Rounding::down)) {
        const std::string digits = exact->toString();
        const auto [digitsEnd, digitsError] =
            std::from_chars(digits.data(), digits.data() + digits.size(), result);
        if (digitsError == std::errc() && digitsEnd == digits.data() + digits.size()) {
            return result;
        }
    }
    json::fail("number " + std::string(text) + " is not an integer within range");
}

Date JsonCoder<Date>::decode(const JsonView& value)
{
    return Date{toDouble(value)};
}

namespace json {

JsonView requireObject(const JsonView& value)
{
    return expect(value, JsonValue::Type::object);
}

void fail(std::string message)
{
    throw JsonDecodeError(message);
}

}  // namespace json

}  // namespace vantrell
