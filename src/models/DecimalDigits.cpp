#include "models/DecimalDigits.h"

#include "models/DecimalText.h"

#include <charconv>

namespace vantrell {

namespace {

void appendNumber(std::string& out, std::int64_t value)
{
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, end);
}

// Adds one unit in the last place of a digit string ("199" -> "200", "" -> "1").
void incrementDigits(std::string& digits)
{
    auto it = digits.rbegin();
    while (it != digits.rend() && *it == '9') {
        *it++ = '0';
    }
    if (it == digits.rend()) {
        digits.insert(digits.begin(), '1');
    } else {
        ++*it;
    }
}

}  // namespace

DecimalDigits DecimalDigits::fromText(const DecimalText& text)
{
    DecimalDigits result;
    result.negative = text.negative;
    result.digits.reserve(text.whole.size() + text.fraction.size());
    result.digits.append(text.whole).append(text.fraction);
    result.exponent = text.exponent - static_cast<std::int64_t>(text.fraction.size());
    result.normalize();
    return result;
}

void DecimalDigits::normalize()
{
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        *this = DecimalDigits{};
        return;
    }
    const auto last = digits.find_last_not_of('0');
    exponent += static_cast<std::int64_t>(digits.size() - 1 - last);
    digits = digits.substr(first, last - first + 1);
}

DecimalDigits DecimalDigits::cut(std::int64_t exponentKept, bool roundAway) const
{
    DecimalDigits result{negative, {}, exponentKept};
    const std::int64_t keep = static_cast<std::int64_t>(digits.size()) - (exponentKept - exponent);
    if (keep > 0) {
        result.digits = digits.substr(0, static_cast<std::size_t>(keep));
    }
    if (roundAway) {
        incrementDigits(result.digits);
    }
    result.normalize();
    return result;
}

std::string DecimalDigits::plainText() const
{
    if (isZero()) {
        return "0";
    }
    std::string text = negative ? "-" : "";
    const auto length = static_cast<std::int64_t>(digits.size());
    if (exponent >= 0) {
        text += digits;
        text.append(static_cast<std::size_t>(exponent), '0');
    } else if (-exponent < length) {
        const auto point = static_cast<std::size_t>(length + exponent);
        text.append(digits, 0, point).append(1, '.').append(digits, point);
    } else {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - length), '0');
        text += digits;
    }
    return text;
}

std::string DecimalDigits::scientificText() const
{
    if (isZero()) {
        return "0";
    }
    std::string text = negative ? "-" : "";
    text += digits;
    text += 'e';
    appendNumber(text, exponent);
    return text;
}

}  // namespace vantrell
