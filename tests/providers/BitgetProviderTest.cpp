#include "providers/BitgetProvider.h"

#include "support/BitgetFixtureSignature.h"
#include "support/ConnectorFixture.h"
#include "support/SnapshotExpectations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>

namespace vantrell {
namespace {

using namespace std::chrono_literals;
using test::dec;
using ::testing::UnorderedElementsAreArray;

constexpr test::BalanceRow row{Exchange::bitget};
constexpr test::PositionRow position{Exchange::bitget};

constexpr auto spot = AccountType::spot;
constexpr auto funding = AccountType::funding;
constexpr auto futures = AccountType::futures;
constexpr auto trading = AccountType::trading;
constexpr auto long_ = PositionSide::long_;
constexpr auto short_ = PositionSide::short_;

const QByteArray assetsPath = "/api/v3/account/assets";
const QByteArray fundingPath = "/api/v3/account/funding-assets";
const QByteArray positionsPath = "/api/v3/position/current-position";
const QByteArray tickersPath = "/api/v2/spot/market/tickers";
const QByteArray spotAssetsPath = "/api/v2/spot/account/assets";
const QByteArray accountsPath = "/api/v2/mix/account/accounts";
const QByteArray mixPositionsPath = "/api/v2/mix/position/all-position";

// Replies both paths read as a failure of the call, none of them a rate limit or network error.
LoopbackReply envelope(const char* code, const char* message, const char* data = "null")
{
    return LoopbackReply::json(200, QByteArray(R"({"code":")") + code + R"(","msg":")" + message +
                                        R"(","data":)" + data + "}");
}
const LoopbackReply unifiedRefused = envelope("40099", "");
const ExchangeAPIError unifiedRefusedError = ExchangeAPIError::api(u"Bitget 请求失败（40099）"_qs);
const LoopbackReply unifiedMode =
    LoopbackReply::json(400, R"({"code":"40085","msg":"当前账户为统一账户模式，请使用 V3 接口"})");
const ExchangeAPIError hint = ExchangeAPIError::api(BitgetProvider::unifiedAccountHint.toString());
const LoopbackReply rateLimited =
    LoopbackReply::json(429, R"({"code":"429","msg":"Too Many Requests"})")
        .withHeader("Retry-After", "120");

const std::vector<AssetBalance> unifiedBalances = {
    row(trading, "USDT", "5000", "5000"),  // the exchange's own value, whatever the tickers say
    row(trading, "BTC", "0.1", "6000"),
    row(trading, "SOL", "10", "1000.5"),
    row(funding, "USDT", "100", "100"),
    row(funding, "eth", "2", "6000"),  // upper-cased for the look-up only
    row(funding, "XYZ", "5", "300"),   // XYZBTC × BTCUSDT
    row(funding, "ZRO", "10", "60"),   // ZROUSDT at 0 is dropped, so the BTC route is tried
    row(funding, "NOPRICE", "7", "0"),
    row(funding, "usdc", "1.5", "1.5"),
};
const std::vector<Position> unifiedPositions = {
    position("BTCUSDT", long_, "0.01", "50000", "52000", "20", "4", "520"),
    position("ETHUSDT", short_, "2.5", "3200", "3000", "500", "6.25", "7500"),
    position("BTCPERP", short_, "3", "100", "110", "-30", "-10", "330"),  // bare array, "size"
    position("ETHUSD", long_, "1", "2000", "2100", "100", "5", "2100"),
};
const std::vector<AssetBalance> classicSpotRows = {
    row(spot, "usdt", "1000", "1000"),        row(spot, "eth", "1.5", "4500"),
    row(spot, "NOPRICE", "4", "0"),           row(spot, "XYZ", "2", "120"),
    row(spot, "BTC", "0.00000001", "0.0006"),
};
const std::vector<AssetBalance> classicFuturesRows = {
    row(futures, "USDT", "2500.5", "2500.5"),
    row(futures, "USDC", "0", "100"),  // no accountEquity: kept for its value
    row(futures, "BTC", "0.01", "600"),
};
const std::vector<Position> classicPositions = {
    position("BTCUSDT", long_, "0.01", "50000", "52000", "20", "4", "520"),
    position("ETHUSDT", short_, "2", "50", "55", "-10", "-10", "110"),
    position("ETHUSD", long_, "1", "0", "2100", "5", "0", "2100"),  // no entry price
};

const BitgetCredentials accepted{u"bitget-key"_qs, u"bitget-secret"_qs, u"bitget-pass"_qs};

SignatureCheck acceptedSignature()
{
    return bitgetFixtureSignature(accepted.apiKey, accepted.secretKey, accepted.passphrase);
}

class BitgetProviderTest : public test::ConnectorFixture<BitgetProvider> {
protected:
    BitgetProviderTest() : ConnectorFixture(u"bitget"_qs, accepted, acceptedSignature()) {}

    bool classicWasRead() const { return !server.requestsTo(spotAssetsPath).isEmpty(); }
};

TEST_F(BitgetProviderTest, UnifiedAccountGivesTheExactSnapshot)
{
    const ExchangeProviderSnapshot s = snapshot();
    EXPECT_EQ(s.account.exchange, Exchange::bitget);
    // Trading is the reported accountEquity, not the sum of its rows.
    EXPECT_EQ(s.account.accounts, (std::vector<AccountBreakdown>{{trading, dec("12000.75")},
                                                                 {funding, dec("6461.5")}}));
    EXPECT_EQ(s.account.totalValue, dec("18462.25"));
    EXPECT_EQ(s.account.dailyChangePercent, std::nullopt);
    EXPECT_EQ(s.balances, unifiedBalances);
    EXPECT_EQ(s.unpricedAssets, (std::vector<QString>{u"NOPRICE"_qs}));
    // Rows of the three categories arrive in completion order.
    EXPECT_THAT(s.positions, UnorderedElementsAreArray(unifiedPositions));
    EXPECT_TRUE(test::isFreshAndWhole(s));
    EXPECT_EQ(server.rejectedCount(), 0);
    EXPECT_FALSE(classicWasRead());
}

TEST_F(BitgetProviderTest, SignedRequestsCarryTheirHeadersInOrderAndTheSignedQuery)
{
    ASSERT_TRUE(fetch().succeeded());
    ASSERT_EQ(server.requests().size(), 6);

    const RecordedRequest assets = server.requestsTo(assetsPath).value(0);
    const std::vector<QByteArray> names = {"ACCESS-KEY",        "ACCESS-SIGN",  "ACCESS-TIMESTAMP",
                                           "ACCESS-PASSPHRASE", "Content-Type", "locale"};
    std::vector<QByteArray> sent;
    for (const auto& [name, value] : assets.headers) {
        for (const QByteArray& ours : names) {
            if (name.compare(ours, Qt::CaseInsensitive) == 0) {
                sent.push_back(ours);
            }
        }
    }
    EXPECT_EQ(sent, names);
    EXPECT_EQ(assets.header("ACCESS-KEY"), QByteArray("bitget-key"));
    EXPECT_EQ(assets.header("ACCESS-TIMESTAMP"), QByteArray("1700000000000"));
    EXPECT_EQ(assets.header("ACCESS-SIGN"),
              QByteArray("XJl0XcNdbBk9EiboOaCRklZTSwhNByNkL0TuEuRe4YM="));
    EXPECT_EQ(assets.header("ACCESS-PASSPHRASE"), QByteArray("bitget-pass"));
    EXPECT_EQ(assets.header("Content-Type"), QByteArray("application/json"));
    EXPECT_EQ(assets.header("locale"), QByteArray("zh-CN"));
    EXPECT_TRUE(assets.query.isEmpty());

    std::set<QByteArray> categories;
    for (const RecordedRequest& request : server.requestsTo(positionsPath)) {
        categories.insert(request.query);
    }
    EXPECT_EQ(categories, (std::set<QByteArray>{"category=USDT-FUTURES", "category=USDC-FUTURES",
                                                "category=COIN-FUTURES"}));

    const RecordedRequest tickers = server.requestsTo(tickersPath).value(0);
    EXPECT_TRUE(tickers.query.isEmpty());
    EXPECT_EQ(tickers.header("ACCESS-KEY"), std::nullopt);
    EXPECT_EQ(tickers.header("locale"), std::nullopt);
}

TEST_F(BitgetProviderTest, AllSixUnifiedRequestsReachTheServerBeforeAnyReply)
{
    server.holdRepliesUntil(6);
    ASSERT_TRUE(fetch().succeeded());
    EXPECT_EQ(server.requestsSeenAtFirstReply(), 6);
}

TEST_F(BitgetProviderTest, WrongSecretOrPassphraseIsRefusedWithTheExchangeBody)
{
    credentials.secretKey = u"another-secret"_qs;
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(401, u"sign signature error"_qs));
    EXPECT_TRUE(classicWasRead());  // a refused key is no reason to skip the classic path
    credentials = {u"bitget-key"_qs, u"bitget-secret"_qs, u"other-pass"_qs};
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(401, u"Invalid ACCESS_PASSPHRASE"_qs));
    EXPECT_GT(server.rejectedCount(), 0);
}

TEST_F(BitgetProviderTest, OptionalUnifiedCallsLeaveTheirPartOutOnAnyFailureButRateLimit)
{
    const std::vector<std::pair<const char*, LoopbackReply>> failures = {
        {"403", LoopbackReply::json(403, R"({"code":"40014","msg":"Incorrect permissions"})")},
        {"html 502", LoopbackReply::html(502, "<html>bad gateway</html>")},
        {"null body", LoopbackReply::json(200, "null")},
        {"envelope code", envelope("40084", "账户异常")},
        {"success without data", envelope("00000", "success")},
        {"amount as a number",
         envelope(
             "00000", "success",
             R"([{"coin":"USDT","symbol":"X","posSide":"long","balance":1,"size":1,"lastPr":1}])")},
        {"cut short", LoopbackReply::json(200, "{}").truncated()},
    };
    for (const auto& [name, failure] : failures) {
        SCOPED_TRACE(name);
        serveRecorded();
        server.serve("GET", fundingPath, failure);
        ExchangeProviderSnapshot s = snapshot();
        EXPECT_EQ(s.missingAccounts, std::set<AccountType>{funding});
        EXPECT_EQ(s.account.accounts.back(), (AccountBreakdown{funding, {}}));
        EXPECT_EQ(s.balances.size(), 3u);
        EXPECT_TRUE(s.unpricedAssets.empty());

        serveRecorded();
        server.serve("GET", positionsPath, "category=USDC-FUTURES", failure);
        s = snapshot();
        EXPECT_TRUE(s.positionsUnavailable);
        EXPECT_TRUE(s.positions.empty());  // the other categories' positions go too
        EXPECT_TRUE(s.missingAccounts.empty());

        serveRecorded();
        server.serve("GET", tickersPath, failure);
        s = snapshot();
        EXPECT_EQ(s.unpricedAssets,
                  (std::vector<QString>{u"eth"_qs, u"XYZ"_qs, u"ZRO"_qs, u"NOPRICE"_qs}));
        EXPECT_EQ(s.account.accounts.back(), (AccountBreakdown{funding, dec("101.5")}));
        EXPECT_TRUE(s.missingAccounts.empty());
        EXPECT_FALSE(s.positionsUnavailable);
    }
    EXPECT_FALSE(classicWasRead());
}

TEST_F(BitgetProviderTest, RateLimitOrNetworkOnTheUnifiedPathEndsTheFetchWithoutFallback)
{
    struct Case {
        const char* name;
        std::function<void()> serve;
        ExchangeAPIError expected;
    };
    const std::vector<Case> cases = {
        {"funding", [&] { server.serve("GET", fundingPath, rateLimited); },
         ExchangeAPIError::rateLimited(120)},
        {"one category",
         [&] { server.serve("GET", positionsPath, "category=COIN-FUTURES", rateLimited); },
         ExchangeAPIError::rateLimited(120)},
        {"tickers", [&] { server.serve("GET", tickersPath, LoopbackReply::json(418, "{}")); },
         ExchangeAPIError::rateLimited(60)},
        {"assets", [&] { server.serve("GET", assetsPath, rateLimited); },
         ExchangeAPIError::rateLimited(120)},
        {"assets cut short",
         [&] { server.serve("GET", assetsPath, LoopbackReply::json(200, "{}").truncated()); },
         ExchangeAPIError::network()},
        // Await order: the assets' late network failure wins over the funding's early limit.
        {"await order",
         [&] {
             server.serve("GET", assetsPath,
                          LoopbackReply::json(200, "{}").truncated().delayedBy(150ms));
             server.serve("GET", fundingPath, rateLimited);
         },
         ExchangeAPIError::network()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        serveRecorded();
        c.serve();
        EXPECT_EQ(fetchError(), c.expected);
    }
    EXPECT_FALSE(classicWasRead());
}

TEST_F(BitgetProviderTest, FailedUnifiedAssetsFallBackToTheExactClassicSnapshot)
{
    const std::vector<std::pair<const char*, LoopbackReply>> failures = {
        {"envelope code", unifiedRefused},
        {"success without data", envelope("00000", "success")},
        {"http 400", LoopbackReply::json(400, R"({"code":"40084","msg":"not unified"})")},
        {"amount as a number", envelope("00000", "ok", R"({"accountEquity":1,"assets":[]})")},
        {"code as a number",
         LoopbackReply::json(200, R"({"code":0,"msg":"","data":{"assets":[]}})")},
    };
    for (const auto& [name, failure] : failures) {
        SCOPED_TRACE(name);
        serveRecorded();
        server.serve("GET", assetsPath, failure);
        const ExchangeProviderSnapshot s = snapshot();
        EXPECT_EQ(s.account.accounts, (std::vector<AccountBreakdown>{{spot, dec("5620.0006")},
                                                                     {futures, dec("3200.5")}}));
        EXPECT_EQ(s.account.totalValue, dec("8820.5006"));
        ASSERT_EQ(s.balances.size(), 8u);
        const std::vector<AssetBalance> spotRows(s.balances.begin(), s.balances.begin() + 5);
        const std::vector<AssetBalance> futuresRows(s.balances.begin() + 5, s.balances.end());
        EXPECT_EQ(spotRows, classicSpotRows);
        EXPECT_THAT(futuresRows, UnorderedElementsAreArray(classicFuturesRows));
        EXPECT_THAT(s.positions, UnorderedElementsAreArray(classicPositions));
        EXPECT_EQ(s.unpricedAssets, (std::vector<QString>{u"NOPRICE"_qs}));
        EXPECT_TRUE(s.missingAccounts.empty());
        EXPECT_FALSE(s.positionsUnavailable);
    }
    // The classic product-type query is signed as sent.
    for (const RecordedRequest& request : server.requestsTo(accountsPath)) {
        if (request.query == "productType=USDT-FUTURES") {
            EXPECT_EQ(request.header("ACCESS-SIGN"),
                      QByteArray("6v5uzCQXSzYhiRtHZcZ+KU2IEh4DrgV8U+9J48fbSXA="));
        }
    }
    EXPECT_EQ(server.requestsTo(accountsPath).size(), 3 * qsizetype(failures.size()));
    EXPECT_EQ(server.rejectedCount(), 0);
}

TEST_F(BitgetProviderTest, OneFailingProductTypeVoidsItsGroupOnly)
{
    const LoopbackReply failures[] = {LoopbackReply::json(400, R"({"msg":"bad"})"),
                                      envelope("40019", "参数错误")};
    for (const LoopbackReply& failure : failures) {
        serveRecorded();
        server.serve("GET", assetsPath, unifiedRefused);
        server.serve("GET", accountsPath, "productType=COIN-FUTURES", failure);
        ExchangeProviderSnapshot s = snapshot();
        EXPECT_EQ(s.missingAccounts, std::set<AccountType>{futures});
        EXPECT_EQ(s.account.accounts.back(), (AccountBreakdown{futures, {}}));
        EXPECT_EQ(s.balances, classicSpotRows);
        EXPECT_EQ(s.positions.size(), 3u);

        serveRecorded();
        server.serve("GET", assetsPath, unifiedRefused);
        server.serve("GET", mixPositionsPath, "productType=USDC-FUTURES", failure);
        s = snapshot();
        EXPECT_TRUE(s.positionsUnavailable);
        EXPECT_TRUE(s.positions.empty());
        EXPECT_TRUE(s.missingAccounts.empty());
        EXPECT_EQ(s.balances.size(), 8u);
    }

    // Empty lists everywhere are not failures.
    server.serve("GET", accountsPath, envelope("00000", "success", "[]"));
    server.serve("GET", mixPositionsPath, envelope("00000", "success", "[]"));
    const ExchangeProviderSnapshot empty = snapshot();
    EXPECT_TRUE(empty.missingAccounts.empty());
    EXPECT_FALSE(empty.positionsUnavailable);
    EXPECT_EQ(empty.account.accounts.back(), (AccountBreakdown{futures, {}}));
}

TEST_F(BitgetProviderTest, WhenBothPathsFailTheLadderPicksTheError)
{
    struct Case {
        const char* name;
        std::function<void()> serve;
        ExchangeAPIError expected;
    };
    const std::vector<Case> cases = {
        {"classic says unified (http)", [&] { server.serve("GET", spotAssetsPath, unifiedMode); },
         hint},
        {"classic says unified (envelope)",
         [&] { server.serve("GET", spotAssetsPath, envelope("40085", "该账户处于统一账户模式")); },
         hint},
        {"classic refused otherwise",
         [&] { server.serve("GET", spotAssetsPath, LoopbackReply::json(401, R"({"msg":"no"})")); },
         unifiedRefusedError},
        {"classic tickers without data",
         [&] { server.serve("GET", tickersPath, envelope("00000", "success")); },
         unifiedRefusedError},
        {"classic tickers cut short",
         [&] { server.serve("GET", tickersPath, LoopbackReply::json(200, "{}").truncated()); },
         ExchangeAPIError::network()},
        {"classic product type limited",
         [&] { server.serve("GET", accountsPath, "productType=USDC-FUTURES", rateLimited); },
         ExchangeAPIError::rateLimited(120)},
        // The limited member stops its siblings, not the spot call awaited before the group.
        {"limited member, slow spot call",
         [&] {
             server.serve("GET", spotAssetsPath,
                          LoopbackReply::json(
                              200, ExchangeFixtureServer::fixture(u"bitget/spot_assets.json"_qs))
                              .delayedBy(150ms));
             server.serve("GET", accountsPath, "productType=USDC-FUTURES", rateLimited);
         },
         ExchangeAPIError::rateLimited(120)},
        // Await order: spot's late marker wins over the tickers' early network failure.
        {"await order",
         [&] {
             server.serve("GET", spotAssetsPath, unifiedMode.delayedBy(150ms));
             server.serve("GET", tickersPath, LoopbackReply::json(200, "{}").truncated());
         },
         hint},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        serveRecorded();
        server.serve("GET", assetsPath, unifiedRefused);
        c.serve();
        EXPECT_EQ(fetchError(), c.expected);
    }
}

TEST_F(BitgetProviderTest, ClassicTickersComeFromTheCacheTheUnifiedPathFilled)
{
    // The unified path fails only after its tickers request has completed.
    server.serve("GET", assetsPath, unifiedRefused.delayedBy(200ms));
    ASSERT_TRUE(fetch().succeeded());
    EXPECT_TRUE(classicWasRead());
    EXPECT_EQ(server.requestsTo(tickersPath).size(), 1);
}

TEST_F(BitgetProviderTest, UnsendableCredentialOrUrlSendsNothing)
{
    for (const BitgetCredentials& bad :
         {BitgetCredentials{u"bitget-key\r\nX: 1"_qs, u"s"_qs, u"p"_qs},
          BitgetCredentials{u"bitget-key"_qs, u"s"_qs, u"pass\n"_qs}}) {
        credentials = bad;
        EXPECT_EQ(fetchError(), ExchangeAPIError::missingCredentials());
        EXPECT_EQ(connectionTestError(), ExchangeAPIError::missingCredentials());
    }
    credentials = accepted;
    const BitgetProvider broken = provider(ExchangeEndpoints::allAt(u"not a url"_qs));
    EXPECT_EQ(test::runTask(broken.fetchSnapshot()).errorAs<ExchangeAPIError>(),
              ExchangeAPIError::invalidURL());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(BitgetProviderTest, ConnectionTestProbesUnifiedThenClassic)
{
    struct Case {
        const char* name;
        std::optional<LoopbackReply> unified;
        std::optional<LoopbackReply> classic;
        std::optional<ExchangeAPIError> expected;  // nothing: the test passes
        qsizetype requests;
    };
    const std::vector<Case> cases = {
        {"unified key", {}, {}, {}, 1},
        {"classic key", unifiedRefused, {}, {}, 2},
        {"unified limited", rateLimited, {}, ExchangeAPIError::rateLimited(120), 1},
        {"unified cut short",
         LoopbackReply::json(200, "{}").truncated(),
         {},
         ExchangeAPIError::network(),
         1},
        {"classic says unified", unifiedRefused, unifiedMode, hint, 2},
        {"both refused", unifiedRefused, envelope("40001", "bad key"), unifiedRefusedError, 2},
        {"classic cut short", unifiedRefused, LoopbackReply::json(200, "{}").truncated(),
         ExchangeAPIError::network(), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExchangeFixtureServer fresh{acceptedSignature()};
        fresh.serveRecorded(u"bitget"_qs);
        if (c.unified) {
            fresh.serve("GET", assetsPath, *c.unified);
        }
        if (c.classic) {
            fresh.serve("GET", spotAssetsPath, *c.classic);
        }
        const BitgetProvider bitget = provider(fresh.endpoints());
        const auto result = test::runTask(bitget.testConnection());
        EXPECT_EQ(result.errorAs<ExchangeAPIError>(), c.expected);
        EXPECT_EQ(result.succeeded(), !c.expected.has_value());
        EXPECT_EQ(fresh.requests().size(), c.requests);
    }
}

// ---- decisions without a network ------------------------------------------------------------

TEST(BitgetRulesTest, SigningVectors)
{
    const RequestTimestamp at(1700000000000);
    const QString unified = BitgetProvider::prehash(at, u"/api/v3/account/assets"_qs, {});
    EXPECT_EQ(unified, u"1700000000000GET/api/v3/account/assets"_qs);
    EXPECT_EQ(BitgetProvider::signature(u"bitget-secret"_qs, unified),
              u"XJl0XcNdbBk9EiboOaCRklZTSwhNByNkL0TuEuRe4YM="_qs);
    const QString classic =
        BitgetProvider::prehash(at, u"/api/v2/mix/account/accounts"_qs,
                                QueryString::encoded({{u"productType"_qs, u"USDT-FUTURES"_qs}}));
    EXPECT_EQ(classic, u"1700000000000GET/api/v2/mix/account/accounts?productType=USDT-FUTURES"_qs);
    EXPECT_EQ(BitgetProvider::signature(u"bitget-secret"_qs, classic),
              u"6v5uzCQXSzYhiRtHZcZ+KU2IEh4DrgV8U+9J48fbSXA="_qs);
}

TEST(BitgetRulesTest, EnvelopeCheckTexts)
{
    using Envelope = BitgetEnvelope<int>;
    EXPECT_EQ(BitgetProvider::validatedData(Envelope{u"00000"_qs, {}, 7}), 7);
    const auto failure = [](Envelope envelope) -> std::optional<ExchangeAPIError> {
        try {
            BitgetProvider::validatedData(std::move(envelope));
        } catch (const ExchangeAPIError& error) {
            return error;
        }
        return std::nullopt;
    };
    EXPECT_EQ(failure({u"00000"_qs, u"success"_qs, std::nullopt}),
              ExchangeAPIError::invalidResponse());
    EXPECT_EQ(failure({u"40001"_qs, {}, 7}), ExchangeAPIError::api(u"Bitget 请求失败（40001）"_qs));
    EXPECT_EQ(failure({u"40001"_qs, u"签名错误"_qs, {}}), ExchangeAPIError::api(u"签名错误"_qs));
}

TEST(BitgetRulesTest, PositionSideAndZeroGuards)
{
    const auto map = [](const char* side, std::optional<QString> size, const char* entry) {
        return BitgetProvider::position(u"X"_qs, QString::fromLatin1(side), size,
                                        QString::fromLatin1(entry), u"2"_qs, u"1"_qs);
    };
    EXPECT_EQ(map("Short", u"1"_qs, "1")->side, short_);
    EXPECT_EQ(map("net", u"-1"_qs, "1")->side, long_);  // the sign does not decide
    EXPECT_EQ(map("", u"1"_qs, "1")->side, long_);
    EXPECT_EQ(map("long", u"-4"_qs, "0.5")->pnlPercent, Decimal(50));
    EXPECT_EQ(map("long", u"1"_qs, "abc")->pnlPercent, Decimal());
    EXPECT_EQ(map("long", u"-4"_qs, "1")->notionalValueUSD, std::optional<Decimal>(8));
    EXPECT_EQ(map("long", std::nullopt, "1"), std::nullopt);
    EXPECT_EQ(map("long", u"0.000"_qs, "1"), std::nullopt);
}

}  // namespace
}  // namespace vantrell
