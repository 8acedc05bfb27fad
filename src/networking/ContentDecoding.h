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
// it. Nothing for another encoding, a damaged or cut-off stream, or more than
// largestDecodedBody bytes.
std::optional<QByteArray> decoded(const QByteArray& body, QByteArrayView encoding,
                                  std::size_t padding);

}  // namespace ContentDecoding

}  // namespace vantrell
