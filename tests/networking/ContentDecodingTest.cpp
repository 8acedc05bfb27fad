#include "networking/ContentDecoding.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QByteArray>

namespace vantrell {
namespace {

constexpr std::size_t padding = 64;

// `text` packed with zlib's window bits: 15 + 16 for gzip, 15 for zlib, -15 for raw deflate.
QByteArray packed(const QByteArray& text, int windowBits)
{
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY),
              Z_OK);
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(text.size()))),
                   '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.constData()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return out;
}

QByteArray reply()
{
    QByteArray text = R"([{"symbol":"BTCUSDT","price":"97000.10"})";
    for (int i = 0; i < 5000; ++i) {
        text.append(R"(,{"symbol":"X)")
            .append(QByteArray::number(i))
            .append(R"(USDT","price":"1.5"})");
    }
    return text.append(']');
}

TEST(ContentDecodingTest, UnpacksEachEncodingWithRoomAfterTheBytes)
{
    const QByteArray text = reply();
    const struct {
        const char* encoding;
        QByteArray body;
    } rows[] = {
        {"gzip", packed(text, 15 + 16)},
        {"x-gzip", packed(text, 15 + 16)},
        {" GZIP ", packed(text, 15 + 16)},
        {"deflate", packed(text, 15)},
        {"deflate", packed(text, -15)},
        {"", text},
        {"identity", text},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.encoding);
        const std::optional<QByteArray> decoded =
            ContentDecoding::decoded(row.body, row.encoding, padding);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, text);
        if (QByteArrayView(row.encoding).trimmed().size() > 0 && row.body != text) {
            // Room for the scanner after the bytes, and little more: bodies are kept a while.
            EXPECT_GE(decoded->capacity() - decoded->size(), static_cast<qsizetype>(padding));
            EXPECT_LE(decoded->capacity() - decoded->size(),
                      static_cast<qsizetype>(padding) + decoded->size() / 8);
        }
    }
    EXPECT_EQ(ContentDecoding::decoded(QByteArray(), "gzip", padding), QByteArray());
}

TEST(ContentDecodingTest, RefusesDamagedUnknownAndOversizedBodies)
{
    const QByteArray gzip = packed(reply(), 15 + 16);
    EXPECT_FALSE(ContentDecoding::decoded(gzip.left(gzip.size() / 2), "gzip", padding))
        << "cut off";
    EXPECT_FALSE(ContentDecoding::decoded(QByteArray(gzip).append("trailing"), "gzip", padding));
    EXPECT_FALSE(ContentDecoding::decoded(QByteArrayLiteral("<html>502</html>"), "gzip", padding));
    EXPECT_FALSE(ContentDecoding::decoded(gzip, "br", padding));

    // A small body that unpacks beyond the limit is refused, not held whole.
    const QByteArray bomb =
        packed(QByteArray(ContentDecoding::largestDecodedBody + 1, ' '), 15 + 16);
    ASSERT_LT(bomb.size(), 1024 * 1024);
    EXPECT_FALSE(ContentDecoding::decoded(bomb, "gzip", padding));
}

}  // namespace
}  // namespace vantrell
