#include "models/JsonTapeWriter.h"

#include "models/DigitWords.h"
#include "models/JsonReader.h"
#include "models/JsonText.h"

#include <simdjson.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace vantrell {

namespace {

using Node = JsonDocument::Node;
using Type = JsonValue::Type;

// The vector scanner of this thread, kept: it grows to the largest text read and is reused.
class TokenScanner {
public:
    simdjson::internal::dom_parser_implementation* ready(std::size_t size)
    {
        if (!m_scanner || m_scanner->capacity() < size) {
            m_scanner.reset();
            if (simdjson::get_active_implementation()->create_dom_parser_implementation(
                    size, JsonReader::maxDepth + 1, m_scanner) != simdjson::SUCCESS) {
                m_scanner.reset();
            }
        }
        return m_scanner.get();
    }

    void release() { m_scanner.reset(); }

private:
    std::unique_ptr<simdjson::internal::dom_parser_implementation> m_scanner;
};

TokenScanner& threadScanner()
{
    thread_local TokenScanner scanner;
    return scanner;
}

}  // namespace

void JsonTapeWriter::releaseScanner()
{
    threadScanner().release();
}

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// JSON's number grammar, minus what RapidJSON might refuse as too big for a double even though it
// keeps the text: a non-negative exponent of three digits or more, or a very long number. Those
// go to RapidJSON, which decides. Reads up to seven bytes past the text, which the padded input
// always has.
bool isPlainNumber(std::string_view text)
{
    constexpr std::size_t longest = 300;
    if (text.empty() || text.size() > longest) {
        return false;
    }
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        int run = 8;
        while (run == 8 && i < text.size()) {
            run = digitWords::leadingDigits(text.data() + i);
            i += static_cast<std::size_t>(run);
        }
        i = std::min(i, text.size());
        return i - start;
    };
    if (text[i] == '-') {
        ++i;
    }
    if (i < text.size() && text[i] == '0') {
        ++i;
    } else if (digits() == 0) {
        return false;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (digits() == 0) {
            return false;
        }
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            ++i;
        }
        const std::size_t exponentDigits = digits();
        if (exponentDigits == 0 || (!negative && exponentDigits > 2)) {
            return false;
        }
    }
    return i == text.size();
}

// Eight bytes at a time: the high bit of every byte that is a quote or a backslash. Only bits
// above a real match can be false, so "any at all" is exact.
std::uint64_t quotesOrBackslashes(const char* p)
{
    constexpr std::uint64_t ones = 0x0101010101010101;
    constexpr std::uint64_t highs = 0x8080808080808080;
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    const std::uint64_t quotes = word ^ (ones * '"');
    const std::uint64_t backslashes = word ^ (ones * '\\');
    return (((quotes - ones) & ~quotes) | ((backslashes - ones) & ~backslashes)) & highs;
}

// Whether `size` bytes from `p` hold a quote or a backslash. Reads up to seven bytes past them,
// which the padded input always has. Inlined: most strings are keys of a few bytes.
[[gnu::always_inline]] inline bool holdsQuoteOrBackslash(const char* p, std::size_t size)
{
    for (; size >= 8; p += 8, size -= 8) {
        if (quotesOrBackslashes(p) != 0) {
            return true;
        }
    }
    return size > 0 && (quotesOrBackslashes(p) & ((std::uint64_t{1} << (8 * size)) - 1)) != 0;
}

// Where the string whose bytes start at `p` ends, read the way JSON reads escapes: its closing
// quote, or nullptr when there is none before `end`.
const char* closingQuote(const char* p, const char* end)
{
    for (; p < end; ++p) {
        if (*p == '"') {
            return p;
        }
        if (*p == '\\') {
            ++p;  // the escaped character, a quote included
        }
    }
    return nullptr;
}

}  // namespace

JsonTapeWriter::JsonTapeWriter(JsonDocument& document, std::size_t inputSize)
    : m_document(document), m_input(document.m_input), m_inputSize(inputSize)
{
    m_open.reserve(32);
}

bool JsonTapeWriter::write()
{
    simdjson::internal::dom_parser_implementation* scanner = threadScanner().ready(m_inputSize);
    if (scanner == nullptr ||
        scanner->stage1(reinterpret_cast<const std::uint8_t*>(m_input), m_inputSize,
                        simdjson::stage1_mode::regular) != simdjson::SUCCESS) {
        return false;
    }
    m_scanner = scanner;
    const std::uint32_t* const tokens = scanner->structural_indexes.get();
    m_end = tokens + scanner->n_structural_indexes;
    // Every node starts at a token of its own, so there are never more nodes than tokens.
    m_document.m_nodes =
        std::make_unique_for_overwrite<JsonDocument::Node[]>(scanner->n_structural_indexes);
    m_next = m_document.m_nodes.get();
    return walk(tokens);
}

// A token's bytes: up to the next token, without the blanks in between.
inline std::string_view JsonTapeWriter::token(const std::uint32_t* at) const
{
    const char* const start = m_input + *at;
    const char* stop = at + 1 != m_end ? m_input + at[1] : m_input + m_inputSize;
    while (stop > start && isBlank(stop[-1])) {
        --stop;
    }
    return {start, static_cast<std::size_t>(stop - start)};
}

inline bool JsonTapeWriter::scalar(const std::uint32_t* at)
{
    const char c = m_input[*at];
    if (c == '"') {
        return string(at);
    }
    const std::string_view text = token(at);
    if (c == '-' || isDigit(c)) {
        if (!isPlainNumber(text)) {
            return false;
        }
        pushText(Type::number, text);
        return true;
    }
    if (text == "true" || text == "false") {
        pushScalar(Type::boolean, text == "true");
        return true;
    }
    if (text == "null") {
        pushScalar(Type::null, false);
        return true;
    }
    return false;
}

inline bool JsonTapeWriter::string(const std::uint32_t* at)
{
    const std::string_view text = token(at);
    if (text.size() < 2 || text.back() != '"') {
        return false;
    }
    const char* const content = text.data() + 1;
    const auto size = text.size() - 2;
    if (!holdsQuoteOrBackslash(content, size)) {
        pushText(Type::string, std::string_view(content, size));
        return true;
    }
    // Escapes, or a quote inside: only a string whose escapes end exactly at the token's
    // closing quote is one string.
    if (closingQuote(content, content + size + 1) != content + size) {
        return false;
    }
    return pushDecoded(content);
}

inline bool JsonTapeWriter::open(Type type)
{
    if (m_open.size() >= static_cast<std::size_t>(JsonReader::maxDepth)) {
        return false;
    }
    m_open.push_back({m_next, 0, type == Type::object});
    pushScalar(type, false);
    return true;
}

inline void JsonTapeWriter::close()
{
    const Open& container = m_open.back();
    container.node->span = static_cast<std::uint64_t>(m_next - container.node);
    container.node->size = container.count;
    m_open.pop_back();
}

// One step per token: a value is expected, a key, or what follows a value.
bool JsonTapeWriter::walk(const std::uint32_t* at)
{
    enum class Expect { value, key, next };
    Expect expect = Expect::value;
    for (;;) {
        switch (expect) {
            case Expect::value: {
                if (at == m_end) {
                    return false;
                }
                const char c = m_input[*at];
                if (c == '{' || c == '[') {
                    const bool object = c == '{';
                    if (!open(object ? Type::object : Type::array)) {
                        return false;
                    }
                    ++at;
                    if (at != m_end && m_input[*at] == (object ? '}' : ']')) {
                        ++at;
                        close();
                        expect = Expect::next;
                    } else {
                        expect = object ? Expect::key : Expect::value;
                    }
                } else {
                    if (!scalar(at)) {
                        return false;
                    }
                    ++at;
                    expect = Expect::next;
                }
                break;
            }
            case Expect::key:
                if (at == m_end || m_input[*at] != '"' || !string(at)) {
                    return false;
                }
                ++at;
                if (at == m_end || m_input[*at] != ':') {
                    return false;
                }
                ++at;
                expect = Expect::value;
                break;
            case Expect::next: {
                if (m_open.empty()) {
                    return at == m_end;  // nothing may follow the value
                }
                Open& container = m_open.back();
                ++container.count;
                if (at == m_end) {
                    return false;
                }
                const char c = m_input[*at++];
                if (c == ',') {
                    expect = container.object ? Expect::key : Expect::value;
                } else if (c == (container.object ? '}' : ']')) {
                    close();
                } else {
                    return false;
                }
                break;
            }
        }
    }
}

// A decoded escape that names half a surrogate pair is refused by the reader; leave it to it.
bool JsonTapeWriter::pushDecoded(const char* content)
{
    if (!m_document.m_decoded) {
        // Decoding never lengthens a string; the vector decoder writes whole blocks past its end.
        m_document.m_decoded =
            std::make_unique_for_overwrite<char[]>(m_inputSize + 2 * JsonDocument::padding);
    }
    char* const decoded = m_document.m_decoded.get() + m_decodedSize;
    const std::uint8_t* const end = m_scanner->parse_string(
        reinterpret_cast<const std::uint8_t*>(content), reinterpret_cast<std::uint8_t*>(decoded));
    if (end == nullptr) {
        return false;
    }
    const std::string_view text(
        decoded, static_cast<std::size_t>(reinterpret_cast<const char*>(end) - decoded));
    if (json::holdsSurrogate(text)) {
        return false;
    }
    m_decodedSize += text.size();
    pushText(Type::string, text);
    return true;
}

}  // namespace vantrell
