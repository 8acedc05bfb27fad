#pragma once

#include <QByteArray>

namespace vantrell::test {

// zlib's window bits for the three forms a reply body can be packed in.
inline constexpr int gzipWindow = 15 + 16;
inline constexpr int zlibWindow = 15;
inline constexpr int rawDeflateWindow = -15;

// `text` packed by zlib in one stream, with the given window bits (a gzip body of one member
// for gzipWindow).
QByteArray packed(const QByteArray& text, int windowBits);

}  // namespace vantrell::test
