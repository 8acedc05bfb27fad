#include "networking/PublicMarketCache.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

const Date t0{700'000'000};

QUrl tickerUrl(int n)
{
    return QUrl(QStringLiteral("https://api.example.com/api/v3/ticker/price?n=%1").arg(n));
}

QByteArray bodyOf(int n)
{
    return QByteArray::number(n);
}

// Fills the cache with URLs 0..15 stored one second apart, URL 0 first.
void fill(PublicMarketCache& cache)
{
    for (int n = 0; n < 16; ++n) {
        cache.insert(bodyOf(n), tickerUrl(n), t0.addingSeconds(n));
    }
}

TEST(PublicMarketCache, EntryIsFreshForStrictlyLessThanFifteenSeconds)
{
    PublicMarketCache cache;
    cache.insert("[1]", tickerUrl(1), t0);

    EXPECT_EQ(cache.value(tickerUrl(1), t0.addingSeconds(14.9)), QByteArray("[1]"));
    EXPECT_EQ(cache.value(tickerUrl(1), t0.addingSeconds(15)), std::nullopt);
    // Stale entries stay in place: the result depends only on the time asked about.
    EXPECT_EQ(cache.value(tickerUrl(1), t0.addingSeconds(1)), QByteArray("[1]"));
    EXPECT_EQ(cache.value(tickerUrl(2), t0), std::nullopt);
}

TEST(PublicMarketCache, EntryStoredAfterTheLookupTimeIsFresh)
{
    PublicMarketCache cache;
    cache.insert("[1]", tickerUrl(1), t0.addingSeconds(3600));

    EXPECT_EQ(cache.value(tickerUrl(1), t0), QByteArray("[1]"));
}

TEST(PublicMarketCache, KeyIsTheWholeUrlIncludingTheQuery)
{
    PublicMarketCache cache;
    cache.insert("a", tickerUrl(1), t0);
    cache.insert("b", tickerUrl(2), t0);

    EXPECT_EQ(cache.value(tickerUrl(1), t0), QByteArray("a"));
    EXPECT_EQ(cache.value(tickerUrl(2), t0), QByteArray("b"));
    EXPECT_EQ(cache.value(QUrl(QStringLiteral("https://api.example.com/api/v3/ticker/price")), t0),
              std::nullopt);
}

TEST(PublicMarketCache, SeventeenthUrlEvictsTheEarliestStored)
{
    PublicMarketCache cache;
    // Stored in an order unrelated to their dates, so eviction must look at the dates.
    for (int n = 15; n >= 0; --n) {
        cache.insert(bodyOf(n), tickerUrl(n), t0.addingSeconds(n));
    }
    cache.insert(bodyOf(16), tickerUrl(16), t0.addingSeconds(16));

    const Date lookup = t0.addingSeconds(10);
    EXPECT_EQ(cache.value(tickerUrl(0), lookup), std::nullopt);
    for (int n = 1; n <= 16; ++n) {
        EXPECT_EQ(cache.value(tickerUrl(n), lookup), bodyOf(n)) << n;
    }
}

TEST(PublicMarketCache, ReplacingAHeldUrlWhenFullStillEvictsFirst)
{
    PublicMarketCache cache;
    fill(cache);
    cache.insert("new 5", tickerUrl(5), t0.addingSeconds(20));

    const Date lookup = t0.addingSeconds(10);
    EXPECT_EQ(cache.value(tickerUrl(0), lookup), std::nullopt);
    EXPECT_EQ(cache.value(tickerUrl(5), lookup), QByteArray("new 5"));

    // 15 entries are left: one more URL fits without eviction, the next evicts URL 1.
    cache.insert(bodyOf(16), tickerUrl(16), t0.addingSeconds(21));
    EXPECT_EQ(cache.value(tickerUrl(1), lookup), bodyOf(1));
    cache.insert(bodyOf(17), tickerUrl(17), t0.addingSeconds(22));
    EXPECT_EQ(cache.value(tickerUrl(1), lookup), std::nullopt);
    EXPECT_EQ(cache.value(tickerUrl(2), lookup), bodyOf(2));
}

TEST(PublicMarketCache, ReplacingTheEarliestUrlWhenFullKeepsItsNewBody)
{
    PublicMarketCache cache;
    fill(cache);
    cache.insert("new 0", tickerUrl(0), t0.addingSeconds(20));

    const Date lookup = t0.addingSeconds(10);
    EXPECT_EQ(cache.value(tickerUrl(0), lookup), QByteArray("new 0"));
    for (int n = 1; n < 16; ++n) {
        EXPECT_EQ(cache.value(tickerUrl(n), lookup), bodyOf(n)) << n;
    }
}

TEST(PublicMarketCache, BodiesUpToEightMebibytesAreStored)
{
    PublicMarketCache cache;
    cache.insert(QByteArray(8'388'608, 'x'), tickerUrl(1), t0);
    cache.insert(QByteArray(8'388'609, 'x'), tickerUrl(2), t0);

    EXPECT_EQ(cache.value(tickerUrl(1), t0).value_or(QByteArray()).size(), 8'388'608);
    EXPECT_EQ(cache.value(tickerUrl(2), t0), std::nullopt);
}

TEST(PublicMarketCache, OversizedBodyLeavesTheEarlierEntryAndTheOthersAlone)
{
    PublicMarketCache cache;
    fill(cache);
    cache.insert(QByteArray(8'388'609, 'x'), tickerUrl(3), t0.addingSeconds(20));

    EXPECT_EQ(cache.value(tickerUrl(0), t0), bodyOf(0));
    EXPECT_EQ(cache.value(tickerUrl(3), t0), bodyOf(3));
}

}  // namespace
}  // namespace vantrell
