#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "models/Decimal.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

namespace vantrell::fuzz {

namespace {

// The input is "<text>\n<text>\n<places>": two amount texts and, in the bytes after the second
// line break, the places to round to (one byte as a signed number, or two little-endian ones).
struct DecimalInput {
    std::string_view first;
    std::string_view second;
    int places = 8;
};

DecimalInput split(std::string_view input)
{
    DecimalInput parts;
    const std::size_t firstBreak = std::min(input.find('\n'), input.size());
    parts.first = input.substr(0, firstBreak);
    input.remove_prefix(std::min(firstBreak + 1, input.size()));
    const std::size_t secondBreak = std::min(input.find('\n'), input.size());
    parts.second = input.substr(0, secondBreak);
    input.remove_prefix(std::min(secondBreak + 1, input.size()));
    if (input.size() == 1) {
        parts.places = static_cast<signed char>(input[0]);
    } else if (input.size() >= 2) {
        std::int16_t places = 0;
        std::memcpy(&places, input.data(), sizeof places);
        parts.places = places;
    }
    return parts;
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::size_t fractionDigits(const std::string& text)
{
    const std::size_t point = text.find('.');
    return point == std::string::npos ? 0 : text.size() - point - 1;
}

// Plain text that reads back as the same value and prints the same again.
void checkText(const Decimal& value)
{
    const std::string text = value.toString();
    check(text != "-0", "a negative zero was printed");
    check(text.find_first_of("eE") == std::string::npos, "an amount was printed with an exponent");
    check(std::isfinite(value.toDouble()), "an amount became a non-finite double");
    const std::optional<Decimal> reread = Decimal::parse(text);
    if (!reread) {
        // Results of arithmetic may lie beyond the range accepted from outside.
        return;
    }
    check(*reread == value, "a printed amount reads back different", text);
    check(reread->toString() == text, "a printed amount prints differently the second time", text);
}

std::optional<Decimal> parseChecked(std::string_view text)
{
    const std::optional<Decimal> value = Decimal::parse(text);
    if (isAscii(text)) {
        const QString wide = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
        check(Decimal::parse(wide) == value, "parsing QString and UTF-8 text disagree");
        check(Decimal::amountOrZero(wide) == value.value_or(Decimal()),
              "amountOrZero differs from parse");
    }
    if (value) {
        checkText(*value);
    }
    return value;
}

void checkRounding(const Decimal& value, int places)
{
    for (const auto mode : {Decimal::Rounding::halfAwayFromZero, Decimal::Rounding::down}) {
        const Decimal rounded = value.rounded(places, mode);
        checkText(rounded);
        if (places >= 0) {
            check(fractionDigits(rounded.toString()) <= static_cast<std::size_t>(places),
                  "rounding kept more places than asked for");
        }
        if (mode == Decimal::Rounding::down) {
            check(rounded <= value, "rounding down went up");
        }
    }
}

}  // namespace

void fuzzDecimal(const std::uint8_t* data, std::size_t size)
{
    const DecimalInput input = split(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::optional<Decimal> a = parseChecked(input.first);
    const std::optional<Decimal> b = parseChecked(input.second);
    if (a) {
        checkRounding(*a, input.places);
    }
    if (!a || !b) {
        return;
    }
    checkText(*a + *b);
    checkText(*a - *b);
    checkText(*a * *b);
    const Decimal quotient = *a / *b;
    checkText(quotient);
    if (b->isZero()) {
        check(quotient.isZero(), "a division by zero gave something else than zero");
    }
}

}  // namespace vantrell::fuzz
