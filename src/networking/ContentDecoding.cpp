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

// A trailer's size is only a hint: it is the last member's alone, and a damaged body may claim
// anything. Exchange replies pack about 4 to 1, so a claim beyond this ratio starts the buffer at
// the ratio instead, and the buffer grows if the claim was true.
constexpr qsizetype believableRatio = 16;
// Up to this size a claim is believed whatever the ratio: a buffer this large, and untouched
// beyond the bytes unpacked, costs little for the moment it lives.
constexpr qsizetype alwaysBelieved = qsizetype(4) * 1024 * 1024;
// Deflate packs at most about 1032 bytes into one.
constexpr qsizetype deflateRatio = 1032;

bool startsMember(const Bytef* bytes, uInt size)
{
    return size >= 2 && bytes[0] == 0x1f && bytes[1] == 0x8b;
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

// Inflates one stream into `out` after its first `used` bytes, keeping `room` free after them
// and doubling `out` as needed, up to the cap; zlib's last status.
int inflateStream(z_stream& stream, QByteArray& out, qsizetype& used, qsizetype room)
{
    int status = Z_OK;
    while (status == Z_OK) {
        if (out.size() - used <= room) {
            if (out.size() - room >= largestDecodedBody) {
                return Z_BUF_ERROR;
            }
            out.resize(std::min(out.size() * 2, largestDecodedBody + room));
        }
        const auto space = static_cast<uInt>(out.size() - room - used);
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + used);
        stream.avail_out = space;
        status = inflate(&stream, Z_NO_FLUSH);
        used += static_cast<qsizetype>(space - stream.avail_out);
    }
    return status;
}

// A gzip body may be several members, one after the other: each is read into the same buffer.
enum class Streams { one, gzipMembers };

// Inflates the whole of `body`; nothing unless its last stream ends exactly at its last byte.
std::optional<QByteArray> inflated(const QByteArray& body, int windowBits, Streams streams,
                                   std::size_t padding)
{
    z_stream stream{};
    if (inflateInit2(&stream, windowBits) != Z_OK) {
        return std::nullopt;
    }
    const auto room = static_cast<qsizetype>(padding);
    QByteArray out;
    out.resize(startingSize(body) + room);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.constData()));
    stream.avail_in = static_cast<uInt>(body.size());
    qsizetype used = 0;  // zlib counts each member's output alone
    int status = inflateStream(stream, out, used, room);
    while (streams == Streams::gzipMembers && status == Z_STREAM_END &&
           startsMember(stream.next_in, stream.avail_in) && inflateReset(&stream) == Z_OK) {
        status = inflateStream(stream, out, used, room);
    }
    const bool whole = status == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    if (!whole) {
        return std::nullopt;
    }
    return fitted(std::move(out), used, room);
}

}  // namespace

qsizetype startingSize(const QByteArray& body)
{
    qsizetype size = body.size() * 4;
    // A gzip body ends with its last member's unpacked size (modulo 2^32), so a reply of one
    // member is unpacked into a buffer of just the right size; one byte more, so the output
    // never fills up just before the stream's end.
    if (body.size() >= 18 && body.startsWith("\x1f\x8b")) {
        const auto* end = reinterpret_cast<const unsigned char*>(body.constData() + body.size());
        const quint32 claimed = quint32(end[-4]) | quint32(end[-3]) << 8 | quint32(end[-2]) << 16 |
                                quint32(end[-1]) << 24;
        size = std::min({qsizetype(claimed) + 1, body.size() * deflateRatio,
                         std::max(body.size() * believableRatio, alwaysBelieved)});
    }
    return std::min(size, largestDecodedBody);
}

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
        return inflated(body, gzipOrZlib, Streams::gzipMembers, padding);
    }
    if (name == "deflate") {
        // Meant to be zlib-wrapped, but some servers send the bare stream.
        if (std::optional<QByteArray> wrapped = inflated(body, gzipOrZlib, Streams::one, padding)) {
            return wrapped;
        }
        return inflated(body, rawDeflate, Streams::one, padding);
    }
    return std::nullopt;
}

}  // namespace vantrell::ContentDecoding
