#include "app/IdleMemoryRelease.h"

#include "models/JsonDocument.h"
#include "models/JsonView.h"
#include "support/SpinUntil.h"
#include "support/StagedPortfolio.h"

#include <QByteArray>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace vantrell;
using namespace vantrell::test;
using namespace std::chrono_literals;

namespace {

struct Ticker {
    std::string symbol;
    std::string price;
    bool operator==(const Ticker&) const = default;
};

void PrintTo(const Ticker& ticker, std::ostream* out)
{
    *out << ticker.symbol << '=' << ticker.price;
}

std::vector<Ticker> tickers(int count)
{
    std::vector<Ticker> rows;
    for (int i = 0; i < count; ++i) {
        rows.push_back({"X" + std::to_string(i) + "\"USDT",
                        std::to_string(i) + ".0" + std::to_string(i % 97)});
    }
    return rows;
}

// The rows as an exchange sends them (the quote in each symbol escaped), with the room after
// the bytes that lets the scanner read them where they lie.
QByteArray reply(const std::vector<Ticker>& rows)
{
    QByteArray text = "[";
    for (const Ticker& row : rows) {
        QByteArray symbol = QByteArray::fromStdString(row.symbol);
        text.append(text.size() > 1 ? "," : "")
            .append(R"({"symbol":")")
            .append(symbol.replace("\"", "\\\""))
            .append(R"(","price":)")
            .append(QByteArray::fromStdString(row.price))
            .append('}');
    }
    text.append(']');
    text.reserve(text.size() + static_cast<qsizetype>(JsonDocument::padding));
    return text;
}

std::vector<Ticker> rowsOf(const JsonDocument& document)
{
    std::vector<Ticker> rows;
    for (const JsonView item : document.root().items()) {
        const std::optional<JsonView> symbol = item.find("symbol");
        const std::optional<JsonView> price = item.find("price");
        if (!symbol || !price) {
            return {};
        }
        rows.push_back({std::string(symbol->text()), std::string(price->text())});
    }
    return rows;
}

// Read by the vector scanner, the first way every reply is tried.
std::optional<std::vector<Ticker>> scanned(const QByteArray& text)
{
    const std::optional<JsonDocument> document = JsonDocument::scan(text);
    if (!document) {
        return std::nullopt;
    }
    return rowsOf(*document);
}

// The release as the running program makes it: the scanner, grown by a large reply, is freed and
// the heap trimmed. Whatever was parsed before stays readable, and the next replies, small and
// large, read as before.
TEST(IdleMemoryReleaseTest, TheRealReleaseLeavesEveryReplyReadable)
{
    const std::vector<Ticker> many = tickers(60000);
    const std::vector<Ticker> few = tickers(3);
    const QByteArray large = reply(many);
    const QByteArray small = reply(few);
    ASSERT_GT(large.size(), 2 * 1024 * 1024);
    ASSERT_EQ(scanned(large), many);
    const std::optional<JsonDocument> kept = JsonDocument::scan(large);
    ASSERT_TRUE(kept);

    IdleMemoryRelease::releaseAll();
    EXPECT_EQ(rowsOf(*kept), many);
    EXPECT_EQ(scanned(small), few);
    EXPECT_EQ(scanned(large), many);

    IdleMemoryRelease::releaseAll();
    IdleMemoryRelease::releaseAll();
    EXPECT_EQ(scanned(large), many);
    EXPECT_EQ(scanned(small), few);
}

TEST(IdleMemoryReleaseTest, ReleasesOnceAfterEachCycleHasEnded)
{
    StagedPortfolio staged;
    staged.stage(Exchange::binance, "100");
    int releases = 0;
    const IdleMemoryRelease release(staged.store(), 30ms, [&] { ++releases; });
    QCoreApplication::processEvents();
    EXPECT_EQ(releases, 0) << "nothing before a cycle";

    staged.refresh();
    EXPECT_EQ(releases, 0) << "not while the cycle's work may still be going on";
    ASSERT_TRUE(spinUntil([&] { return releases == 1; }));

    staged.refresh();
    ASSERT_TRUE(spinUntil([&] { return releases == 2; }));
    spinUntil([] { return false; }, 100ms);
    EXPECT_EQ(releases, 2) << "once per cycle";
}

TEST(IdleMemoryReleaseTest, ACycleThatStartsDuringTheWaitPostponesTheRelease)
{
    StagedPortfolio staged;
    staged.stage(Exchange::binance, "100");
    int releases = 0;
    const IdleMemoryRelease release(staged.store(), 200ms, [&] { ++releases; });
    staged.refresh();
    staged.refresh();
    staged.refresh();
    ASSERT_TRUE(spinUntil([&] { return releases == 1; }));
    spinUntil([] { return false; }, 300ms);
    EXPECT_EQ(releases, 1) << "the three cycles in a row end in one release";
}

}  // namespace
