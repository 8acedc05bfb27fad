#include "networking/ContentDecoding.h"

#include "support/PackedText.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

namespace vantrell {
namespace {

using test::gzipWindow;
using test::packed;
using test::rawDeflateWindow;
using test::zlibWindow;

constexpr std::size_t padding = 64;

QByteArray reply(int items = 5000)
{
    QByteArray text = R"([{"symbol":"BTCUSDT","price":"97000.10"})";
    for (int i = 0; i < items; ++i) {
        text.append(R"(,{"symbol":"X)")
            .append(QByteArray::number(i))
            .append(R"(USDT","price":"1.5"})");
    }
    return text.append(']');
}

// The texts packed as one gzip member each, one after the other.
QByteArray members(const QList<QByteArray>& texts)
{
    QByteArray body;
    for (const QByteArray& text : texts) {
        body.append(packed(text, gzipWindow));
    }
    return body;
}

// The body with the size its trailer gives replaced by `size`.
QByteArray claiming(QByteArray body, quint32 size)
{
    for (int i = 0; i < 4; ++i) {
        body[body.size() - 4 + i] = static_cast<char>(size >> (8 * i));
    }
    return body;
}

// Room for the scanner after the bytes, and little more: bodies are kept a while.
void expectRoomAfter(const QByteArray& decoded)
{
    EXPECT_GE(decoded.capacity() - decoded.size(), static_cast<qsizetype>(padding));
    EXPECT_LE(decoded.capacity() - decoded.size(),
              static_cast<qsizetype>(padding) + decoded.size() / 8);
}

TEST(ContentDecodingTest, UnpacksEachEncodingWithRoomAfterTheBytes)
{
    const QByteArray text = reply();
    const struct {
        const char* encoding;
        QByteArray body;
    } rows[] = {
        {"gzip", packed(text, gzipWindow)},
        {"x-gzip", packed(text, gzipWindow)},
        {" GZIP ", packed(text, gzipWindow)},
        {"deflate", packed(text, zlibWindow)},
        {"deflate", packed(text, rawDeflateWindow)},
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
            expectRoomAfter(*decoded);
        }
    }
    EXPECT_EQ(ContentDecoding::decoded(QByteArray(), "gzip", padding), QByteArray());
}

TEST(ContentDecodingTest, RefusesDamagedUnknownAndOversizedBodies)
{
    const QByteArray gzip = packed(reply(), gzipWindow);
    EXPECT_FALSE(ContentDecoding::decoded(gzip.left(gzip.size() / 2), "gzip", padding))
        << "cut off";
    EXPECT_FALSE(ContentDecoding::decoded(QByteArray(gzip).append("trailing"), "gzip", padding));
    EXPECT_FALSE(ContentDecoding::decoded(QByteArrayLiteral("<html>502</html>"), "gzip", padding));
    EXPECT_FALSE(ContentDecoding::decoded(gzip, "br", padding));

    // A small body that unpacks beyond the limit is refused, not held whole.
    const QByteArray bomb =
        packed(QByteArray(ContentDecoding::largestDecodedBody + 1, ' '), gzipWindow);
    ASSERT_LT(bomb.size(), 1024 * 1024);
    EXPECT_FALSE(ContentDecoding::decoded(bomb, "gzip", padding));
}

// A gzip body may be several members (as when a server packs a reply in pieces); their texts
// follow one another, whatever each trailer says.
TEST(ContentDecodingTest, UnpacksEveryMemberOfAGzipBody)
{
    const QByteArray text = reply();
    const QByteArray first = text.left(text.size() / 3);
    const QByteArray second = text.mid(first.size(), first.size());
    const QByteArray third = text.mid(first.size() + second.size());
    // Long enough that its trailer, which speaks for the last member alone, is far too small.
    const QByteArray spaces(ContentDecoding::largestDecodedBody / 2, ' ');
    const struct {
        const char* name;
        QList<QByteArray> texts;
    } rows[] = {
        {"two", {first + second, third}},
        {"three", {first, second, third}},
        {"an empty one among them", {first, QByteArray(), second + third}},
        {"a last one much smaller than the rest", {spaces, text}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<QByteArray> decoded =
            ContentDecoding::decoded(members(row.texts), "gzip", padding);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, row.texts.join());
        expectRoomAfter(*decoded);
    }
}

TEST(ContentDecodingTest, RefusesWhatFollowsTheLastMemberUnlessItIsOneWhole)
{
    const QByteArray gzip = packed(reply(), gzipWindow);
    const QByteArray next = packed(R"(["ETHUSDT"])", gzipWindow);
    const struct {
        const char* name;
        QByteArray body;
        const char* encoding;
    } rows[] = {
        {"garbage", gzip + "trailing", "gzip"},
        {"a lone first byte of a member", gzip + "\x1f", "gzip"},
        {"the magic alone", gzip + next.left(2), "gzip"},
        {"a header alone", gzip + next.left(10), "gzip"},
        {"a member cut short", gzip + next.chopped(1), "gzip"},
        {"a member with a wrong size", gzip + claiming(next, 12), "gzip"},
        {"a member after a deflate stream", packed(reply(), zlibWindow) + next, "deflate"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(ContentDecoding::decoded(row.body, row.encoding, padding));
    }

    // The limit holds for the members together, not for each alone.
    const QByteArray half(ContentDecoding::largestDecodedBody / 2 + 1, ' ');
    ASSERT_TRUE(ContentDecoding::decoded(members({half}), "gzip", padding));
    EXPECT_FALSE(ContentDecoding::decoded(members({half, half}), "gzip", padding));
}

// An honest trailer sizes the buffer exactly, so one member unpacks without a regrowth; a claim
// the body cannot back costs no large allocation before the bytes show what is really there.
TEST(ContentDecodingTest, StartsFromTheTrailerOnlyWhereItIsBelievable)
{
    const QByteArray text = reply();
    const QByteArray repetitive(3 * 1024 * 1024, ' ');
    EXPECT_EQ(ContentDecoding::startingSize(packed(text, gzipWindow)), text.size() + 1);
    EXPECT_EQ(ContentDecoding::startingSize(packed(repetitive, gzipWindow)), repetitive.size() + 1);
    const QByteArray zlib = packed(text, zlibWindow);
    EXPECT_EQ(ContentDecoding::startingSize(zlib), zlib.size() * 4);

    const qsizetype aFewMiB = qsizetype(4) * 1024 * 1024;
    const QByteArray small = packed(reply(30000), gzipWindow);
    const QByteArray tiny = packed(R"(["BTCUSDT"])", gzipWindow);
    ASSERT_GT(small.size(), 50 * 1024);
    ASSERT_LT(small.size(), 200 * 1024);
    EXPECT_LE(ContentDecoding::startingSize(claiming(small, 0xffffffff)), aFewMiB);
    EXPECT_LE(ContentDecoding::startingSize(claiming(tiny, 0xffffffff)), tiny.size() * 1032);
    // zlib checks the size, so such a body is refused in the end.
    EXPECT_FALSE(ContentDecoding::decoded(claiming(small, 0xffffffff), "gzip", padding));
}

}  // namespace
}  // namespace vantrell
