#include "services/ReferralLinkStore.h"

#include "platform/MemoryDefaultsStore.h"
#include "support/FakeHttpTransport.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>

#include <memory>

using namespace vantrell;

namespace {

const QString documentPath = QStringLiteral("/vantrell-config/referrals.json");
const QUrl endpoint(QStringLiteral("https://config.example.com/vantrell-config/referrals.json"));

QByteArray entry(const char* id, int sort, const char* url, bool enabled = true)
{
    return QByteArray(R"({"id": ")") + id + R"(", "enabled": )" + (enabled ? "true" : "false") +
           R"(, "sort": )" + QByteArray::number(sort) + R"(, "referralURL": ")" + url + "\"}";
}

QByteArray document(const QList<QByteArray>& entries, int schema = 1)
{
    return R"({"schemaVersion": )" + QByteArray::number(schema) +
           R"(, "updatedAt": "2024-05-01", "exchanges": [)" + entries.join(",") + "]}";
}

QStringList ids(const std::vector<ReferralLink>& links)
{
    QStringList result;
    for (const ReferralLink& link : links) {
        result << link.id + ":" + link.referralURL;
    }
    return result;
}

class ReferralLinkStoreTest : public ::testing::Test {
protected:
    std::unique_ptr<ReferralLinkStore> makeStore(QUrl url = endpoint)
    {
        auto store = std::make_unique<ReferralLinkStore>(defaults, transport, std::move(url));
        QCoreApplication::processEvents();  // the start-up refresh
        return store;
    }
    void serve(int status, const QByteArray& body)
    {
        transport.respond("GET", documentPath, FakeHttpTransport::json(status, body));
    }

    MemoryDefaultsStore defaults;
    FakeHttpTransport transport;
};

TEST(ReferralLinkTest, OnlyEnabledHttpsAddressesWithoutCredentialsAreUsable)
{
    struct Row {
        const char* text;
        bool enabled;
        bool usable;
    };
    const Row rows[] = {
        {"https://www.example.com/join?ref=1", true, true},
        {"HTTPS://www.example.com/join", true, true},
        {"https://www.example.com/join", false, false},
        {"http://www.example.com/join", true, false},
        {"https://user@www.example.com/join", true, false},
        {"https://user:pw@www.example.com/join", true, false},
        {"https://:pw@www.example.com/join", true, false},
        {"https://@www.example.com/join", true, false},
        {"https:///join", true, false},
        {"https:join", true, false},
        {"javascript:alert(1)", true, false},
        {"not a url at all", true, false},
        {"", true, false},
        {"https://www.example.com/a@b", true, true},  // '@' in the path is no user name
    };
    for (const Row& row : rows) {
        const ReferralLink link{"okx", row.enabled, 0, QString::fromLatin1(row.text)};
        EXPECT_EQ(link.url().has_value(), row.usable) << row.text;
    }
}

TEST(ReferralConfigurationTest, DecodesAllOrNothing)
{
    const auto decoded = ReferralConfiguration::decode(
        document({entry("okx", 2, "https://a.example/x"), entry("gateio", 1, "https://b.ex/y")}));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->schemaVersion, 1);
    EXPECT_EQ(decoded->updatedAt, "2024-05-01");
    ASSERT_EQ(decoded->exchanges.size(), 2u);
    EXPECT_EQ(decoded->exchanges[1], (ReferralLink{"gateio", true, 1, "https://b.ex/y"}));

    const QByteArray broken[] = {
        R"({"updatedAt": "x", "exchanges": []})",
        R"({"schemaVersion": "1", "updatedAt": "x", "exchanges": []})",
        R"({"schemaVersion": 1, "updatedAt": 5, "exchanges": []})",
        R"({"schemaVersion": 1, "updatedAt": "x", "exchanges": {}})",
        R"({"schemaVersion": 1.5, "updatedAt": "x", "exchanges": []})",
        // One bad entry spoils the document.
        document({entry("okx", 1, "https://a.example/x"),
                  R"({"id": "bybit", "enabled": "yes", "sort": 1, "referralURL": "https://c"})"}),
        document({R"({"id": "bybit", "enabled": true, "referralURL": "https://c"})"}),
        "[]",
        "",
    };
    for (const QByteArray& body : broken) {
        EXPECT_FALSE(ReferralConfiguration::decode(body)) << body.toStdString();
    }
    QByteArray oversized = document({});
    oversized.append(QByteArray(ReferralConfiguration::maxBodySize, ' '));
    EXPECT_FALSE(ReferralConfiguration::decode(oversized));
}

TEST_F(ReferralLinkStoreTest, PublishesUsableLinksInOrderAndCachesTheRawBytes)
{
    const QByteArray body = document({
        entry("okx", 2, "https://okx.example/b"),
        entry("bybit", 1, "https://bybit.example/a"),
        entry("binance", 2, "https://binance.example/c"),
        entry("okx", 2, "https://okx.example/d"),
        entry("bitget", 0, "http://bitget.example/plain"),
        entry("gateio", 0, "https://gate.example/off", false),
        entry("gateio", 3, "https://gate.example/e"),
    });
    serve(200, body);
    auto store = makeStore();

    EXPECT_EQ(ids(store->links()),
              (QStringList{"bybit:https://bybit.example/a", "binance:https://binance.example/c",
                           "okx:https://okx.example/b", "okx:https://okx.example/d",
                           "gateio:https://gate.example/e"}));
    EXPECT_EQ(defaults.value(ReferralLinkStore::cacheKey), body);
    EXPECT_EQ(store->linkFor(Exchange::okx)->referralURL, "https://okx.example/b");
    EXPECT_EQ(store->linkFor(Exchange::gateio)->referralURL, "https://gate.example/e");
    EXPECT_FALSE(store->linkFor(Exchange::bitget));

    const HttpRequest& request = transport.requests().front();
    EXPECT_EQ(request.url, endpoint);
    EXPECT_EQ(request.timeout, std::chrono::milliseconds(15000));
    EXPECT_EQ(request.maxBodyBytes, ReferralConfiguration::maxBodySize);
    EXPECT_EQ(request.headers, (QList<HttpRequest::Header>{{"Accept", "application/json"}}));
}

TEST_F(ReferralLinkStoreTest, FailedFetchesChangeNothing)
{
    const QByteArray good = document({entry("okx", 1, "https://okx.example/a")});
    serve(200, good);
    auto store = makeStore();
    ASSERT_EQ(store->links().size(), 1u);
    int published = 0;
    QObject::connect(store.get(), &ReferralLinkStore::linksChanged, [&] { ++published; });

    const std::vector<std::function<void()>> failures = {
        [&] { serve(500, document({})); },
        [&] { serve(200, "<html>"); },
        [&] { serve(200, document({}, 2)); },
        [&] { transport.fail("GET", documentPath); },
    };
    for (const auto& fail : failures) {
        fail();
        ASSERT_TRUE(test::runTask(store->refresh()).succeeded());
    }
    EXPECT_EQ(store->links().size(), 1u);
    EXPECT_EQ(defaults.value(ReferralLinkStore::cacheKey), good);
    EXPECT_EQ(published, 0);

    // An empty list is a valid answer: nothing shows, and it is remembered.
    serve(200, document({}));
    test::runTask(store->refresh());
    EXPECT_TRUE(store->links().empty());
    EXPECT_EQ(published, 1);
    EXPECT_EQ(defaults.value(ReferralLinkStore::cacheKey), document({}));
}

TEST_F(ReferralLinkStoreTest, StartsFromTheCacheWhateverItsVersion)
{
    const QByteArray cached = document({entry("bitget", 1, "https://bitget.example/x")}, 2);
    defaults.setValue(ReferralLinkStore::cacheKey, cached);
    transport.fail("GET", documentPath);
    auto store = makeStore();
    ASSERT_TRUE(store->linkFor(Exchange::bitget));
    EXPECT_EQ(transport.requestCount(), 1) << "and fetches once at start";

    const QTimer* timer = store->findChild<QTimer*>(QStringLiteral("referralRefreshTimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 21600 * 1000);
}

TEST_F(ReferralLinkStoreTest, AnUndecodableCacheIsIgnoredAndKept)
{
    defaults.setValue(ReferralLinkStore::cacheKey, QByteArray("{broken"));
    transport.fail("GET", documentPath);
    auto store = makeStore();
    EXPECT_TRUE(store->links().empty());
    EXPECT_EQ(defaults.value(ReferralLinkStore::cacheKey), QByteArray("{broken"));
}

TEST_F(ReferralLinkStoreTest, WithoutAnEndpointNothingIsFetched)
{
    auto store = makeStore(QUrl());
    test::runTask(store->refresh());
    EXPECT_EQ(transport.requestCount(), 0);
}

TEST_F(ReferralLinkStoreTest, AStoreDestroyedDuringAFetchIsLeftAlone)
{
    serve(200, document({entry("okx", 1, "https://okx.example/a")}));
    transport.setHolding(true);
    auto store = makeStore();
    ASSERT_EQ(transport.heldCount(), 1);
    store.reset();
    transport.releaseAll();
    QCoreApplication::processEvents();
    EXPECT_FALSE(defaults.contains(ReferralLinkStore::cacheKey));
}

}  // namespace
