#include "models/DecimalText.h"

#include <algorithm>

namespace vantrell {

namespace {

// Exponent texts are read with saturation; anything this large is refused later anyway.
constexpr std::int64_t exponentSaturation = std::int64_t{1} << 40;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline std::string_view takeDigits(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

// Like takeDigits, and reads them on into the running value in one pass.
inline std::string_view takeValueDigits(std::string_view text, std::size_t& pos,
                                        DecimalText& result)
{
    const std::size_t start = pos;
    std::uint64_t value = result.digitValue;
    std::size_t significant = result.significantDigits;
    for (; pos < text.size(); ++pos) {
        const auto digit = static_cast<unsigned char>(text[pos] - '0');
        if (digit > 9) {
            break;
        }
        value = value * 10 + digit;
        // Counted from the first non-zero digit, not from the running value, which wraps to
        // zero for multiples of 2^64.
        significant += (significant != 0 || digit != 0) ? 1 : 0;
    }
    result.digitValue = value;
    result.significantDigits = significant;
    return text.substr(start, pos - start);
}

inline bool takeSign(std::string_view text, std::size_t& pos)
{
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        return text[pos++] == '-';
    }
    return false;
}

}  // namespace

std::optional<std::int64_t> DecimalText::readExponent(std::string_view text, std::size_t& pos)
{
    const bool negative = takeSign(text, pos);
    const std::string_view digits = takeDigits(text, pos);
    if (digits.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : digits) {
        value = std::min(value * 10 + (c - '0'), exponentSaturation);
    }
    return negative ? -value : value;
}

bool DecimalText::read(std::string_view text)
{
    *this = DecimalText{};
    std::size_t pos = 0;
    negative = takeSign(text, pos);
    whole = takeValueDigits(text, pos, *this);
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        fraction = takeValueDigits(text, pos, *this);
    }
    if (whole.empty() && fraction.empty()) {
        return false;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        const auto written = readExponent(text, ++pos);
        if (!written) {
            return false;
        }
        exponent = *written;
    }
    return pos == text.size();
}

}  // namespace vantrell
