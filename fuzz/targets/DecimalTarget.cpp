#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "models/CompactDecimal.h"
#include "models/Decimal.h"
#include "models/DecimalText.h"

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
    // Plain texts are read on a short road; the general reader must agree with it.
    if (const auto plain = CompactDecimal::fromPlainText(text)) {
        DecimalText scanned;
        check(scanned.read(text) && CompactDecimal::fromText(scanned) == plain,
              "the plain reading differs from the general one", text);
    }
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

// Exactly 1, held in the wide form (a long operand keeps the difference wide): multiplying by
// it sends a value through the wide backend, whatever form the value itself has.
const Decimal& wideOne()
{
    static const Decimal one = Decimal::parse("1.0000000000000000000001").value_or(Decimal()) -
                               Decimal::parse("0.0000000000000000000001").value_or(Decimal());
    return one;
}

// Short values are held compactly; they must behave exactly as the same value held wide.
void checkSameAsWide(const Decimal& value, const Decimal& wide, std::string_view what)
{
    check(value == wide && (value <=> wide) == 0, what, value.toString());
    check(value.toString() == wide.toString(), what, value.toString());
    check(value.toDouble() == wide.toDouble(), what, value.toString());
}

void checkForms(const Decimal& a, const Decimal& b)
{
    const Decimal wideA = a * wideOne();
    const Decimal wideB = b * wideOne();
    checkSameAsWide(a, wideA, "a value differs from its wide form");
    checkSameAsWide(a + b, wideA + wideB, "a sum differs from the wide sum");
    checkSameAsWide(a - b, wideA - wideB, "a difference differs from the wide difference");
    checkSameAsWide(a * b, wideA * wideB, "a product differs from the wide product");
    check((a <=> b) == (wideA <=> b), "an ordering differs from the wide ordering");
}

void checkRounding(const Decimal& value, int places)
{
    const Decimal wide = value * wideOne();
    for (const auto mode : {Decimal::Rounding::halfAwayFromZero, Decimal::Rounding::down}) {
        const Decimal rounded = value.rounded(places, mode);
        checkText(rounded);
        checkSameAsWide(rounded, wide.rounded(places, mode), "rounding differs in the wide form");
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
    checkForms(*a, *b);
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
