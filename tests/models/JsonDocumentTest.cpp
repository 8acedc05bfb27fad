#include "models/JsonDocument.h"
#include "models/JsonError.h"
#include "models/JsonReader.h"
#include "models/JsonView.h"

#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace vantrell {
namespace {

using namespace std::string_literals;

struct Outcome {
    std::optional<JsonValue> value;
    std::string error;
};

Outcome readerOutcome(const std::string& text)
{
    try {
        return {JsonReader::parse(text), {}};
    } catch (const JsonDecodeError& error) {
        return {std::nullopt, error.what()};
    }
}

Outcome documentOutcome(const std::string& text)
{
    try {
        return {JsonDocument::parse(text).root().toValue(), {}};
    } catch (const JsonDecodeError& error) {
        return {std::nullopt, error.what()};
    }
}

// The document reader must read every text as the tree reader does: the same value, or the same
// error message.
void expectSameAsReader(const std::string& text)
{
    SCOPED_TRACE(text);
    const Outcome reader = readerOutcome(text);
    const Outcome document = documentOutcome(text);
    EXPECT_EQ(document.value, reader.value);
    EXPECT_EQ(document.error, reader.error);
    if (const std::optional<JsonDocument> scanned = JsonDocument::scan(text)) {
        ASSERT_TRUE(reader.value.has_value()) << "the fast scan accepted a refused text";
        EXPECT_EQ(scanned->root().toValue(), *reader.value);
    }
}

std::string nested(int depth)
{
    return std::string(static_cast<size_t>(depth), '[') +
           std::string(static_cast<size_t>(depth), ']');
}

// Texts the fast scan reads itself.
std::vector<std::string> scannedTexts()
{
    return {
        R"({"a":1,"b":[true,false,null],"c":{"d":"e"}})",
        R"(  [ 1 , -0 , 0.5 , -12.25e-3 , 1E+2 , 3e0 , 123456789012345678901234567890 ] )",
        R"(["\n\t\"\\\/","\u00e9\u4e2d","\ud83d\ude00","a\u0000b","é中😀"])",
        R"({"k\u00e9y":1,"plain":2,"k\"q":3,"":""})",
        R"({"a":1,"a":"two"})",
        R"([[],{},[[]],{"x":{}}])",
        "[\"tab\\tinside\"]\n",
        "3",
        "null",
        "true",
        "\"text\"",
        " -1.5 ",
        "\"\\\"\"",
        nested(512),
        "[1e-400]",
        "[1e99]",
        "[" + std::string(300, '7') + "]",
    };
}

TEST(JsonDocumentTest, ScansWellFormedTextsItself)
{
    for (const std::string& text : scannedTexts()) {
        EXPECT_TRUE(JsonDocument::scan(text).has_value()) << text;
    }
}

TEST(JsonDocumentTest, ReadsEveryTextAsTheTreeReaderDoes)
{
    std::vector<std::string> texts = {
        // Left to the reader: it decides what counts as too big.
        "[1e400]",
        "[1e308]",
        "[1.5e0307]",
        "[" + std::string(400, '9') + "]",
        // Refused.
        "",
        " ",
        "[",
        "{\"a\":1",
        "[1,]",
        "{\"a\":1,}",
        "{\"a\" 1}",
        "{1:2}",
        "[1 2]",
        "{\"a\":1} x",
        "[] []",
        "01",
        "[01]",
        "[1.]",
        "[.5]",
        "[-]",
        "[1e]",
        "[+1]",
        "[0x10]",
        "[tru]",
        "[nul]",
        "[falsey]",
        "[\"abc\"x]",
        "[\"unterminated]",
        "['single']",
        "[\"\\x\"]",
        "[\"\\u12\"]",
        "[\"\\ud800\"]",
        "[\"\\udc00\"]",
        "[\"\\ud800\\u0041\"]",
        "{\"\\udc00\":1}",
        "[\"a\x01b\"]",
        "[\"a\nb\"]",
        "[\"\xff\"]",
        "[\"\xc0\xaf\"]",
        "[\"\xed\xa0\x80\"]",
        "[\"\xe2\x82\"]",
        "\xef\xbb\xbf[]",
        nested(513),
        "[1]\0"s,
        "[\"a\0b\"]"s,
        "[1\0]"s,
        "\0[]"s,
        "{\"a\0\":1}"s,
        "[1,\0 2]"s,
        "[\"a\\\"]",
        "[\"\\\"]\"]",
        "{\"a\":}",
        "{:1}",
        "[,1]",
        "{\"a\"::1}",
        "[1]]",
        "[[1]",
        "{\"a\":1}}",
        "[true false]",
        "[nulll]",
        "[\"a\"\"b\"]",
        "{\"a\":1 \"b\":2}",
    };
    const std::vector<std::string> scanned = scannedTexts();
    texts.insert(texts.end(), scanned.begin(), scanned.end());
    for (const std::string& text : texts) {
        expectSameAsReader(text);
    }
}

// Replies and files are read by the fast scan, not handed on to the slower reader.
TEST(JsonDocumentTest, ScansEveryRecordedReplyItself)
{
    QDirIterator files(QStringLiteral(VANTRELL_FIXTURES_DIR), {QStringLiteral("*.json")},
                       QDir::Files, QDirIterator::Subdirectories);
    int scanned = 0;
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const std::string text = file.readAll().toStdString();
        SCOPED_TRACE(file.fileName().toStdString());
        const std::optional<JsonDocument> document = JsonDocument::scan(text);
        ASSERT_TRUE(document.has_value());
        EXPECT_EQ(document->root().toValue(), JsonReader::parse(text));
        ++scanned;
    }
    EXPECT_GT(scanned, 30);
}

TEST(JsonDocumentTest, ViewsReadDocumentsAndTreesAlike)
{
    const std::string text =
        R"({"name":"BTC\u00e9","n":"1.50","n":2.50,"list":[1,{"x":null},[]],"flag":true})";
    const JsonDocument document = JsonDocument::parse(text);
    const JsonValue tree = JsonReader::parse(text);
    for (const JsonView root : {document.root(), JsonView(tree)}) {
        ASSERT_TRUE(root.isObject());
        EXPECT_EQ(root.members().size(), 5u);
        EXPECT_EQ(root.find("name")->toQString(), QStringLiteral("BTCé"));
        // The last of two equal keys wins, with its own type.
        ASSERT_TRUE(root.find("n")->isNumber());
        EXPECT_EQ(root.find("n")->text(), "2.50");
        EXPECT_FALSE(root.find("missing").has_value());
        EXPECT_FALSE(root.find("list")->find("x").has_value());
        const auto items = root.find("list")->items();
        ASSERT_EQ(items.size(), 3u);
        std::vector<JsonValue::Type> types;
        for (const JsonView item : items) {
            types.push_back(item.type());
        }
        EXPECT_EQ(types, (std::vector{JsonValue::Type::number, JsonValue::Type::object,
                                      JsonValue::Type::array}));
        EXPECT_TRUE((*++items.begin()).find("x")->isNull());
        EXPECT_TRUE(root.find("flag")->boolValue());
        std::vector<std::string> keys;
        for (const JsonMemberView member : root.members()) {
            keys.emplace_back(member.key);
        }
        EXPECT_EQ(keys, (std::vector<std::string>{"name", "n", "n", "list", "flag"}));
    }
    EXPECT_EQ(JsonDocument::fromValue(tree).root().toValue(), tree);
}

// Keys are compared by length, then as words: short keys byte by byte, keys of 8 to 16 bytes as
// their first and last eight, longer ones in full. Near misses differ at each of those places.
TEST(JsonDocumentTest, FindingSeveralKeysAtOnceMatchesFindingEach)
{
    const std::string text =
        R"({"ts":1,"tS":2,"timestamp":3,"timestamq":4,"totalValue":5,"xotalValue":6,)"
        R"("unrealizedProfitTotal":7,"unrealizedProfitTotaL":8,"unrealizedPrXfitTotal":9,)"
        R"("ts":10,"":11,"\u0074s":12})";
    const JsonDocument document = JsonDocument::parse(text);
    const JsonValue tree = JsonReader::parse(text);
    for (const JsonView root : {document.root(), JsonView(tree)}) {
        const auto found = root.findEach({"ts", "timestamp", "totalValue", "unrealizedProfitTotal",
                                          "", "missing", "unrealizedPrXfitTotal", "tS"});
        const char* const expected[] = {"12", "3", "5", "7", "11", nullptr, "9", "2"};
        for (std::size_t i = 0; i < found.size(); ++i) {
            if (expected[i] == nullptr) {
                EXPECT_FALSE(found[i].has_value()) << i;
            } else {
                ASSERT_TRUE(found[i].has_value()) << i;
                EXPECT_EQ(found[i]->text(), expected[i]) << i;
            }
        }
    }
    // Not an object: nothing found, as with find().
    const JsonDocument list = JsonDocument::parse(std::string_view(R"([{"ts":1}])"));
    EXPECT_FALSE(list.root().findEach({"ts"})[0].has_value());
}

// A document's texts live in its own buffers: it outlives the bytes it was read from, and
// moving it keeps every view's text valid.
TEST(JsonDocumentTest, OwnsItsTexts)
{
    std::optional<JsonDocument> kept;
    {
        std::string text = R"({"plain":"abc","escaped":"a\"b"})";
        kept = JsonDocument::parse(text);
        text.assign(text.size(), 'x');
    }
    const JsonDocument moved = std::move(*kept);
    EXPECT_EQ(moved.root().find("plain")->text(), "abc");
    EXPECT_EQ(moved.root().find("escaped")->text(), "a\"b");
}

// A reply read with room after it is parsed where it lies; any other text is copied first.
TEST(JsonDocumentTest, ReadsPaddedBytesWhereTheyLie)
{
    const QByteArray text = QByteArrayLiteral(R"({"symbol":"BTCUSDT"})");
    QByteArray padded;
    padded.reserve(text.size() + static_cast<qsizetype>(JsonDocument::padding));
    padded.append(text);
    const JsonDocument inPlace = JsonDocument::parse(padded);
    const std::string_view symbol = inPlace.root().find("symbol")->text();
    EXPECT_EQ(symbol, "BTCUSDT");
    EXPECT_TRUE(symbol.data() > padded.constData() &&
                symbol.data() < padded.constData() + padded.size());

    const QByteArray tight = QByteArray::fromRawData(text.constData(), text.size());
    const JsonDocument copied = JsonDocument::parse(tight);
    const std::string_view copiedSymbol = copied.root().find("symbol")->text();
    EXPECT_EQ(copiedSymbol, "BTCUSDT");
    EXPECT_FALSE(copiedSymbol.data() >= text.constData() &&
                 copiedSymbol.data() < text.constData() + text.size());
}

// Free room in front of the bytes (left by removing the front of an array) is no padding: the
// text ends at the end of its allocation and must be copied, or the scanner reads past it.
TEST(JsonDocumentTest, RoomBeforeTheBytesIsNoPadding)
{
    for (const QByteArray& tail : {QByteArrayLiteral(R"(["a",12345678901234])"),
                                   QByteArrayLiteral(R"({"k":"a string at the end"})")}) {
        const qsizetype front = 2 * static_cast<qsizetype>(JsonDocument::padding);
        QByteArray text(front + tail.size(), ' ');
        text.detach();
        std::memcpy(text.data() + front, tail.constData(), static_cast<std::size_t>(tail.size()));
        text.remove(0, front);
        ASSERT_EQ(text, tail);
        ASSERT_GE(text.capacity() - text.size(), static_cast<qsizetype>(JsonDocument::padding))
            << "the removed front must stay part of the allocation for this test";
        ASSERT_LT(text.data_ptr().freeSpaceAtEnd(), static_cast<qsizetype>(JsonDocument::padding));

        const JsonDocument document = JsonDocument::parse(text);
        std::string_view parsed;
        if (document.root().isArray()) {
            for (const JsonView item : document.root().items()) {
                parsed = item.text();
            }
        } else {
            parsed = document.root().find("k")->text();
        }
        EXPECT_TRUE(parsed == "12345678901234" || parsed == "a string at the end");
        EXPECT_FALSE(parsed.data() >= text.constData() &&
                     parsed.data() < text.constData() + text.size())
            << "read where it lies although nothing follows it";
    }
}

}  // namespace
}  // namespace vantrell
