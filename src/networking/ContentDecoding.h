#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstddef>
#include <optional>

namespace vantrell {

// Undoes a reply's Content-Encoding. The transport asks for gzip itself and unpacks each body
// once, straight into a buffer with room after it for the JSON scanner; Qt, left to do it, runs
// every body through its decompressor twice (once only to count the bytes).
namespace ContentDecoding {

// What the transport asks servers for.
inline constexpr QByteArrayView acceptedEncodings = "gzip, deflate";
// A body that unpacks to more than this is refused rather than held in memory whole.
inline constexpr qsizetype largestDecodedBody = qsizetype(64) * 1024 * 1024;

// The body as sent, decoded: unchanged for no encoding or "identity"; unpacked for "gzip",
// "x-gzip" and "deflate" (zlib-wrapped or raw), with at least `padding` bytes of room after
// it. A gzip body may be several members, read one after the other; a deflate body is one
// stream. Nothing for another encoding, a damaged or cut-off stream, bytes after the last
// stream, or more than largestDecodedBody bytes in all.
std::optional<QByteArray> decoded(const QByteArray& body, QByteArrayView encoding,
                                  std::size_t padding);

// The bytes a packed body is first unpacked into (the buffer grows from there): a gzip body's
// trailer size where it is believable, else a guess from the body's size.
qsizetype startingSize(const QByteArray& body);

}  // namespace ContentDecoding

}  // namespace vantrell
