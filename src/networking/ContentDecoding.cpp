#include "networking/ContentDecoding.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace vantrell::ContentDecoding {

namespace {

// zlib's window bits: 15 with 32 added reads a gzip or a zlib header, -15 reads raw deflate.
constexpr int gzipOrZlib = 15 + 32;
constexpr int rawDeflate = -15;

// The size to start with: a gzip stream ends with its unpacked size (modulo 2^32), so a reply
// is unpacked into a buffer of just the right size; otherwise a guess that grows as needed.
qsizetype expectedSize(const QByteArray& body, int windowBits)
{
    if (windowBits == gzipOrZlib && body.size() >= 18 && body.startsWith("\x1f\x8b")) {
        const auto* end = reinterpret_cast<const unsigned char*>(body.constData() + body.size());
        const quint32 size = quint32(end[-4]) | quint32(end[-3]) << 8 | quint32(end[-2]) << 16 |
                             quint32(end[-1]) << 24;
        // One byte more, so the output never fills up just before the stream's end; and never
        // more than deflate can pack into the body (about 1032 to 1), whatever the trailer says.
        return std::min<qsizetype>(qsizetype(size) + 1, body.size() * 1032);
    }
    return body.size() * 4;
}

// A buffer that grew past its bytes by more than the room asked for is copied into one that
// fits, so a body kept for a while (the market cache keeps some) holds no more than it needs.
QByteArray fitted(QByteArray out, qsizetype size, qsizetype room)
{
    out.resize(size);  // keeps the capacity, and so the room after the bytes
    if (out.capacity() - size <= room + size / 8) {
        return out;
    }
    QByteArray exact;
    exact.reserve(size + room);
    exact.append(out);
    return exact;
}

// Inflates the whole of `body`; nothing unless the stream ends exactly at its last byte.
std::optional<QByteArray> inflated(const QByteArray& body, int windowBits, std::size_t padding)
{
    z_stream stream{};
    if (inflateInit2(&stream, windowBits) != Z_OK) {
        return std::nullopt;
    }
    const auto room = static_cast<qsizetype>(padding);
    QByteArray out;
    out.resize(std::min(expectedSize(body, windowBits), largestDecodedBody) + room);
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
    return fitted(std::move(out), size, room);
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
