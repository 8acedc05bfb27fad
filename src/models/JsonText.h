#pragma once

#include <cstring>
#include <string_view>

namespace vantrell::json {

// Whether decoded string bytes hold half a UTF-16 surrogate pair. RapidJSON refuses an escaped
// high surrogate without its partner but decodes a lone low one ("\udc00") into bytes that are
// not UTF-8, which no writer accepts afterwards. The input itself was validated, so ED followed
// by A0-BF (a surrogate's encoding) can only come from such an escape.
inline bool holdsSurrogate(std::string_view text)
{
    const char* const end = text.data() + text.size();
    for (const char* p = text.data(); p < end; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\xED', static_cast<size_t>(end - p)));
        if (p == nullptr) {
            return false;
        }
        if (p + 1 < end && static_cast<unsigned char>(p[1]) >= 0xA0) {
            return true;
        }
    }
    return false;
}

}  // namespace vantrell::json
