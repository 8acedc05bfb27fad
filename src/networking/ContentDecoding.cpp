#include "networking/ContentDecoding.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace vantrell::ContentDecoding {

namespace {

// zlib's window bits: 15 with 32 added reads a gzip or a zlib header, -15 reads raw deflate.
constexpr int gzipOrZlib = 15 + 32;
constexpr int rawDeflate = -15;

// Inflates the whole of `body`; nothing unless the stream ends exactly at its last byte.
std::optional<QByteArray> inflated(const QByteArray& body, int windowBits, std::size_t padding)
{
    z_stream stream{};
    if (inflateInit2(&stream, windowBits) != Z_OK) {
        return std::nullopt;
    }
    const auto room = static_cast<qsizetype>(padding);
    QByteArray out;
    out.resize(std::min(body.size() * 4 + room, largestDecodedBody + room));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.constData()));
    stream.avail_in = static_cast<uInt>(body.size());
    int status = Z_OK;
    while (status == Z_OK) {
        const auto used = static_cast<qsizetype>(stream.total_out);
        if (out.size() - used <= room) {
            if (out.size() - room >= largestDecodedBody) {
                break;
            }
            out.resize(std::min(out.size() * 2, largestDecodedBody + room));
        }
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + used);
        stream.avail_out = static_cast<uInt>(out.size() - room - used);
        status = inflate(&stream, Z_NO_FLUSH);
    }
    const bool whole = status == Z_STREAM_END && stream.avail_in == 0;
    const auto size = static_cast<qsizetype>(stream.total_out);
    inflateEnd(&stream);
    if (!whole) {
        return std::nullopt;
    }
    out.resize(size);  // keeps the capacity, and so the room after the bytes
    return out;
}

}  // namespace

std::optional<QByteArray> decoded(const QByteArray& body, QByteArrayView encoding,
                                  std::size_t padding)
{
    const QByteArray name = encoding.trimmed().toByteArray().toLower();
    if (name.isEmpty() || name == "identity" || body.isEmpty()) {
        return body;
    }
    if (body.size() > std::numeric_limits<uInt>::max()) {
        return std::nullopt;
    }
    if (name == "gzip" || name == "x-gzip") {
        return inflated(body, gzipOrZlib, padding);
    }
    if (name == "deflate") {
        // Meant to be zlib-wrapped, but some servers send the bare stream.
        if (std::optional<QByteArray> wrapped = inflated(body, gzipOrZlib, padding)) {
            return wrapped;
        }
        return inflated(body, rawDeflate, padding);
    }
    return std::nullopt;
}

}  // namespace vantrell::ContentDecoding
