#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vantrell::digitWords {

// ASCII digits read eight bytes at a time, from a word loaded in memory order.
static_assert(std::endian::native == std::endian::little, "the words below are little-endian");

inline std::uint64_t load(const char* p)
{
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// The bits of every byte that is not an ASCII digit. A byte is a digit when its high nibble is 3
// and stays 3 after adding 6; only a byte of FA or more carries into the next one, and it is no
// digit itself, so the lowest set bit marks the first non-digit exactly.
inline std::uint64_t nonDigits(std::uint64_t word)
{
    constexpr std::uint64_t highNibbles = 0xF0F0F0F0F0F0F0F0;
    constexpr std::uint64_t threes = 0x3030303030303030;
    const std::uint64_t high = (word & highNibbles) ^ threes;
    const std::uint64_t raised = ((word + 0x0606060606060606) & highNibbles) ^ threes;
    return high | raised;
}

// How many of the word's bytes lead with digits.
inline int leadingDigits(std::uint64_t word)
{
    const std::uint64_t mask = nonDigits(word);
    return mask == 0 ? 8 : std::countr_zero(mask) / 8;
}

// How many of the eight bytes at `p` lead with digits; reads all eight.
inline int leadingDigits(const char* p)
{
    return leadingDigits(load(p));
}

// The number eight digits name, the first the most significant: pairs, then fours, then all.
// Zero bytes read as zeros.
inline std::uint32_t valueOfEight(std::uint64_t word)
{
    word = (word & 0x0F0F0F0F0F0F0F0F) * 2561 >> 8;
    word = (word & 0x00FF00FF00FF00FF) * 6553601 >> 16;
    return static_cast<std::uint32_t>((word & 0x0000FFFF0000FFFF) * 42949672960001 >> 32);
}

// Reads the digits at `pos` on into `value` (modulo 2^64), moving `pos` past them; how many
// there were. While eight bytes remain, the run of digits among them is read at once: shifted
// to the top of the word, the bytes shifted in read as leading zeros.
inline std::size_t read(std::string_view text, std::size_t& pos, std::uint64_t& value)
{
    constexpr std::uint64_t powersOfTen[] = {1,       10,        100,        1'000,      10'000,
                                             100'000, 1'000'000, 10'000'000, 100'000'000};
    const std::size_t start = pos;
    while (pos + 8 <= text.size()) {
        const std::uint64_t word = load(text.data() + pos);
        const int run = leadingDigits(word);
        if (run == 0) {
            return pos - start;
        }
        value = value * powersOfTen[run] + valueOfEight(word << (64 - 8 * run));
        pos += static_cast<std::size_t>(run);
        if (run < 8) {
            return pos - start;
        }
    }
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + static_cast<std::uint64_t>(text[pos] - '0');
    }
    return pos - start;
}

}  // namespace vantrell::digitWords
