#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantrell {

// The parts of a number text in the strict form
// [+-] (digits [. [digits]] | . digits) [(e|E) [+-] digits], as views into the text.
struct DecimalText {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
    // Saturated, so "1e99999999999999999999" cannot overflow.
    std::int64_t exponent = 0;
    // The digits of whole and fraction read as one integer (modulo 2^64) while scanning, and
    // how many of them there are from the first non-zero one on: up to 19, `digitValue` is exact.
    std::uint64_t digitValue = 0;
    std::size_t significantDigits = 0;

    // Fills the parts from `text`; false for anything else (blanks, grouping, prefixes, words, a
    // missing digit). Filled in place: returning the parts cost more than the reading itself.
    bool read(std::string_view text);

    // Reads "[+-]digits" at `pos` (moving it past them), saturating very long exponents.
    static std::optional<std::int64_t> readExponent(std::string_view text, std::size_t& pos);
};

}  // namespace vantrell
