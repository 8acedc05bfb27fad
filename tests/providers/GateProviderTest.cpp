#include "providers/GateProvider.h"

#include "models/JsonReader.h"

#include "support/ConnectorFixture.h"
#include "support/GateFixtureSignature.h"
#include "support/SnapshotExpectations.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vantrell {
namespace {

using namespace std::chrono_literals;
using test::dec;

constexpr test::BalanceRow row{Exchange::gateio};
constexpr test::PositionRow position{Exchange::gateio};

const QByteArray spotPath = "/api/v4/spot/accounts";
const QByteArray tickersPath = "/api/v4/spot/tickers";
const QByteArray futuresPath = "/api/v4/futures/usdt/accounts";
const QByteArray positionsPath = "/api/v4/futures/usdt/positions";

const char* const spotTotal = "37010.25000001";
const char* const futuresTotal = "2400.25";  // total 2500.5 + unrealised -100.25

// SHA-512 of the empty body, signed with every request.
const QByteArray emptyBodyDigest =
    "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce47d0d13c5d85f2b0ff8318d2877e"
    "ec2f63b931bd47417a81a538327af927da3e";

// Gate's answer to the futures calls of a user who never opened a futures account.
const QString noFuturesAccount = u"gate/futures_user_not_found.json"_qs;
const QString noFuturesAccountMessage = u"please transfer funds first to create futures account"_qs;

const GateCredentials accepted{QStringLiteral("gate-key"), QStringLiteral("gate-secret")};

class GateProviderTest : public test::ConnectorFixture<GateProvider> {
protected:
    GateProviderTest()
        : ConnectorFixture(u"gate"_qs, accepted,
                           gateFixtureSignature(accepted.apiKey, accepted.secretKey))
    {
    }
};

TEST_F(GateProviderTest, RecordedAccountGivesTheExactSnapshot)
{
    const auto result = fetch();
    ASSERT_TRUE(result.succeeded());
    const ExchangeProviderSnapshot& snapshot = *result.value;

    EXPECT_EQ(snapshot.account.exchange, Exchange::gateio);
    EXPECT_EQ(snapshot.account.totalValue, dec("39410.50000001"));
    EXPECT_EQ(snapshot.account.dailyChangePercent, std::nullopt);
    EXPECT_EQ(snapshot.account.accounts,
              (std::vector<AccountBreakdown>{{AccountType::spot, dec(spotTotal)},
                                             {AccountType::futures, dec(futuresTotal)}}));
    const std::vector<AssetBalance> balances = {
        row(AccountType::spot, "BTC", "0.6", "24000"),
        row(AccountType::spot, "ETH", "2", "4000"),  // the first of two ETH_USDT rows wins
        row(AccountType::spot, "USDT", "1000.25", "1000.25"),
        row(AccountType::spot, "ALT", "20000", "8000"),  // through ALT_BTC and BTC_USDT
        row(AccountType::spot, "DUST", "0.00000002", "0.00000001"),
        row(AccountType::spot, "GONE", "3", "0"),  // GONE_USDT without a last price stops there
        row(AccountType::spot, "NOPRICE", "5", "0"),
        row(AccountType::spot, "usdt", "7", "0"),   // the case of a code matters
        row(AccountType::spot, "DAI", "10", "10"),  // a stablecoin, whatever DAI_USDT says
        row(AccountType::futures, "USDT", futuresTotal, futuresTotal),
    };  // ZERO (0 + 0) and BAD ("1,5") have no quantity and give no row
    EXPECT_EQ(snapshot.balances, balances);
    EXPECT_EQ(snapshot.unpricedAssets,
              (std::vector<QString>{u"GONE"_qs, u"NOPRICE"_qs, u"usdt"_qs}));
    EXPECT_EQ(
        snapshot.positions,
        (std::vector<Position>{
            position("BTC_USDT", PositionSide::long_, "10", "39000", "40000", "100", "2.5", "4000"),
            position("ETH_USDT", PositionSide::short_, "5", "2100", "2000", "50", "5", "1000"),
            position("DOGE_USDT", PositionSide::short_, "300", "0.11", "0.1", "3", "10", "30"),
            position("SOL_USDT", PositionSide::long_, "2", "20", "21", "2", "0", "0"),
        }));
    EXPECT_TRUE(test::isFreshAndWhole(snapshot));
    EXPECT_EQ(server.rejectedCount(), 0);
}

TEST_F(GateProviderTest, RequestsCarryPrefixQueryAndHeadersInOrder)
{
    ASSERT_TRUE(fetch().succeeded());
    ASSERT_EQ(server.requests().size(), 4);
    // Started in the order spot, tickers, futures, positions.
    EXPECT_EQ(server.requests()[0].path, spotPath);

    for (const QByteArray& path : {spotPath, futuresPath, positionsPath}) {
        SCOPED_TRACE(path.toStdString());
        const RecordedRequest request = server.requestsTo(path).value(0);
        EXPECT_EQ(request.method, "GET");
        EXPECT_EQ(request.query, path == positionsPath ? "holding=true&limit=100" : "");
        EXPECT_TRUE(request.body.isEmpty());
        QList<QByteArray> names;
        for (const auto& header : request.headers) {
            if (header.first == "KEY" || header.first == "Timestamp" || header.first == "SIGN" ||
                header.first == "Accept") {
                names.append(header.first);
            }
        }
        EXPECT_EQ(names, (QList<QByteArray>{"KEY", "Timestamp", "SIGN", "Accept"}));
        EXPECT_EQ(request.header("KEY"), QByteArray("gate-key"));
        EXPECT_EQ(request.header("Timestamp"), QByteArray("1700000000"));  // seconds
        EXPECT_EQ(request.header("Accept"), QByteArray("application/json"));
        EXPECT_EQ(request.header("Content-Type"), std::nullopt);
        EXPECT_EQ(request.header("SIGN").value_or("").size(), 128);
    }

    const RecordedRequest tickers = server.requestsTo(tickersPath).value(0);
    EXPECT_TRUE(tickers.query.isEmpty());
    EXPECT_EQ(tickers.header("KEY"), std::nullopt);
    EXPECT_EQ(tickers.header("SIGN"), std::nullopt);
    EXPECT_EQ(tickers.header("Timestamp"), std::nullopt);
}

TEST_F(GateProviderTest, SignsTheSigningVectorsExactly)
{
    struct Vector {
        QByteArray path;
        QByteArray message;
        QByteArray mac;
    };
    const std::vector<Vector> vectors = {
        {spotPath, "GET\n/api/v4/spot/accounts\n\n" + emptyBodyDigest + "\n1700000000",
         "146c533a020e4664fb67b99f5a75ef13963131c68321be297b4d0cd4c9354ae6f459b2504615573b7f936c35"
         "da876f9c4d0c9b335fdc331f9a853b3726bf0c7e"},
        {positionsPath,
         "GET\n/api/v4/futures/usdt/positions\nholding=true&limit=100\n" + emptyBodyDigest +
             "\n1700000000",
         "6fae8e2312418203c2f3a8f24268864f9d89a75795c5ed28cab3c1a4680ecc0a975453b83a0fc8c8412ee7ee"
         "e2936ff64f5d27a509c868e9af3ce03e63f1e10a"},
    };
    ASSERT_TRUE(fetch().succeeded());
    for (const Vector& vector : vectors) {
        SCOPED_TRACE(vector.path.toStdString());
        const RecordedRequest request = server.requestsTo(vector.path).value(0);
        // The text the request stands for (what the fixture verifies), and the MAC sent.
        const QByteArray message = request.method + '\n' + request.path + '\n' + request.query +
                                   '\n' + emptyBodyDigest + '\n' +
                                   request.header("Timestamp").value_or("");
        EXPECT_EQ(message, vector.message);
        EXPECT_EQ(request.header("SIGN"), vector.mac);
    }
}

TEST_F(GateProviderTest, AllFourRequestsReachTheServerBeforeAnyReply)
{
    server.holdRepliesUntil(4);
    ASSERT_TRUE(fetch().succeeded());
    EXPECT_EQ(server.requestsSeenAtFirstReply(), 4);
}

TEST_F(GateProviderTest, WrongSecretIsRefusedByTheExchangeRule)
{
    credentials.secretKey = QStringLiteral("another-secret");
    EXPECT_EQ(fetchError(),
              ExchangeAPIError::httpStatus(401, u"Signature mismatch"_qs, u"INVALID_SIGNATURE"_qs));
    EXPECT_GT(server.rejectedCount(), 0);
}

TEST_F(GateProviderTest, OptionalCallsFailingInEveryToleratedWayLeaveTheirPartsOut)
{
    const std::vector<LoopbackReply> failures = {
        LoopbackReply::json(401, R"({"label":"FORBIDDEN","message":"Futures not enabled"})"),
        LoopbackReply::json(400, R"({"label":"INVALID_PARAM_VALUE","message":"bad settle"})"),
        // The label of a missing futures account under another status is a plain failure.
        LoopbackReply::json(401, R"({"label":"USER_NOT_FOUND","message":"no futures account"})"),
        LoopbackReply::html(502, "<html>bad gateway</html>"),
        LoopbackReply::json(200, "null"),
        LoopbackReply::json(200, R"({"total":2500.5})"),  // an amount as a number
        LoopbackReply::json(200, R"([{"size":"1"}])"),    // not the expected shape
        LoopbackReply::json(200, "[]").truncated(),       // transfer cut short
        LoopbackReply::json(200, "not json"),
    };
    for (const LoopbackReply& failure : failures) {
        SCOPED_TRACE(failure.body.toStdString());
        server.serve("GET", futuresPath, failure);
        server.serve("GET", positionsPath, failure);
        const auto result = fetch();
        ASSERT_TRUE(result.succeeded());
        const ExchangeProviderSnapshot& snapshot = *result.value;
        EXPECT_EQ(snapshot.missingAccounts, (std::set<AccountType>{AccountType::futures}));
        EXPECT_TRUE(snapshot.positionsUnavailable);
        EXPECT_TRUE(snapshot.positions.empty());
        EXPECT_EQ(snapshot.account.accounts,
                  (std::vector<AccountBreakdown>{{AccountType::spot, dec(spotTotal)},
                                                 {AccountType::futures, Decimal()}}));
        EXPECT_EQ(snapshot.account.totalValue, dec(spotTotal));
        EXPECT_EQ(snapshot.balances.size(), 9u);  // the spot rows only
    }
}

TEST_F(GateProviderTest, FuturesAccountNeverOpenedIsCompleteAndEmpty)
{
    const LoopbackReply refusal =
        LoopbackReply::json(400, ExchangeFixtureServer::fixture(noFuturesAccount));
    server.serve("GET", futuresPath, refusal);
    server.serve("GET", positionsPath, refusal);
    const auto result = fetch();
    ASSERT_TRUE(result.succeeded());
    const ExchangeProviderSnapshot& snapshot = *result.value;
    EXPECT_TRUE(snapshot.missingAccounts.empty());
    EXPECT_FALSE(snapshot.positionsUnavailable);
    EXPECT_TRUE(snapshot.positions.empty());
    EXPECT_EQ(snapshot.account.accounts,
              (std::vector<AccountBreakdown>{{AccountType::spot, dec(spotTotal)},
                                             {AccountType::futures, Decimal()}}));
    EXPECT_EQ(snapshot.account.totalValue, dec(spotTotal));
    EXPECT_EQ(snapshot.balances.size(), 9u);  // the spot rows, and no futures row
    EXPECT_TRUE(snapshot.accountWarnings.empty());
}

TEST(GateNoFuturesAccountTest, OnlyA400LabelledUserNotFound)
{
    const auto error = [](int status, const char* label) {
        return ExchangeAPIError::httpStatus(status, u"m"_qs, QString::fromLatin1(label));
    };
    EXPECT_TRUE(GateProvider::isNoFuturesAccount(error(400, "USER_NOT_FOUND")));
    for (const ExchangeAPIError& other :
         {error(401, "USER_NOT_FOUND"), error(404, "USER_NOT_FOUND"), error(400, "user_not_found"),
          error(400, "INVALID_PARAM_VALUE"), error(400, ""),
          ExchangeAPIError::httpStatus(400, u"USER_NOT_FOUND"_qs),
          ExchangeAPIError::api(u"USER_NOT_FOUND"_qs), ExchangeAPIError::rateLimited(5)}) {
        SCOPED_TRACE(other.errorDescription().toStdString());
        EXPECT_FALSE(GateProvider::isNoFuturesAccount(other));
    }
}

TEST_F(GateProviderTest, EmptyPositionListIsNotAFailure)
{
    server.serve("GET", positionsPath, LoopbackReply::json(200, "[]"));
    const auto result = fetch();
    ASSERT_TRUE(result.succeeded());
    EXPECT_TRUE(result.value->positions.empty());
    EXPECT_FALSE(result.value->positionsUnavailable);
}

struct FatalCase {
    const char* name;
    QByteArray path;
    LoopbackReply reply;
    ExchangeAPIError expected;
};

TEST_F(GateProviderTest, RequiredFailuresAndRateLimitsEndTheFetch)
{
    const std::vector<FatalCase> cases = {
        {"spot refused", spotPath,
         LoopbackReply::json(403, R"({"label":"FORBIDDEN","message":"Read only key required"})"),
         ExchangeAPIError::httpStatus(403, u"Read only key required"_qs, u"FORBIDDEN"_qs)},
        // Only the futures calls read that label as "no futures account".
        {"spot without a futures account", spotPath,
         LoopbackReply::json(400, ExchangeFixtureServer::fixture(noFuturesAccount)),
         ExchangeAPIError::httpStatus(400, noFuturesAccountMessage, u"USER_NOT_FOUND"_qs)},
        {"tickers down", tickersPath, LoopbackReply::html(503, "<html>down</html>"),
         ExchangeAPIError::httpStatus(503, u"请求失败"_qs)},
        {"spot cut short", spotPath, LoopbackReply::json(200, "[]").truncated(),
         ExchangeAPIError::network()},
        {"futures account rate limited", futuresPath,
         LoopbackReply::json(429, R"({"label":"TOO_MANY_REQUESTS"})")
             .withHeader("Retry-After", "120"),
         ExchangeAPIError::rateLimited(120)},
        {"positions banned", positionsPath, LoopbackReply::json(418, "{}"),
         ExchangeAPIError::rateLimited(60)},
    };
    for (const FatalCase& c : cases) {
        SCOPED_TRACE(c.name);
        serveRecorded();
        server.serve("GET", c.path, c.reply);
        EXPECT_EQ(fetchError(), c.expected);
    }

    serveRecorded();
    server.serve("GET", tickersPath,
                 LoopbackReply::json(200, R"([{"currency_pair":"BTC_USDT","last":40000}])"));
    EXPECT_EQ(fetchError().kind(), ExchangeAPIError::Kind::decoding);  // a price as a number
}

TEST_F(GateProviderTest, EarliestFailureInAwaitOrderWinsOverEarliestInTime)
{
    server.serve("GET", spotPath,
                 LoopbackReply::json(500, R"({"message":"spot down"})").delayedBy(150ms));
    server.serve("GET", tickersPath, LoopbackReply::json(503, R"({"message":"tickers down"})"));
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(500, u"spot down"_qs));

    // A required call awaited before a rate-limited optional one wins, however late it fails.
    serveRecorded();
    server.serve("GET", tickersPath,
                 LoopbackReply::json(503, R"({"message":"tickers down"})").delayedBy(150ms));
    server.serve("GET", positionsPath,
                 LoopbackReply::json(429, "{}").withHeader("Retry-After", "30"));
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(503, u"tickers down"_qs));
}

TEST_F(GateProviderTest, CredentialWithLineBreakSendsNothing)
{
    for (const QString& key :
         {u"gate-key\r\nX-Injected: 1"_qs, u"gate-key\n"_qs, u"gate\0key"_qs}) {
        credentials.apiKey = key;
        EXPECT_EQ(fetchError(), ExchangeAPIError::missingCredentials());
        EXPECT_EQ(connectionTestError(), ExchangeAPIError::missingCredentials());
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(GateProviderTest, BaseUrlThatFormsNoUrlSendsNothing)
{
    const GateProvider gate = provider(ExchangeEndpoints::allAt(u"not a url"_qs));
    EXPECT_EQ(test::runTask(gate.fetchSnapshot()).errorAs<ExchangeAPIError>(),
              ExchangeAPIError::invalidURL());
    EXPECT_EQ(test::runTask(gate.testConnection()).errorAs<ExchangeAPIError>(),
              ExchangeAPIError::invalidURL());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(GateProviderTest, ConnectionTestIsTheSignedSpotCallAndThrowsEverything)
{
    EXPECT_TRUE(testConnection().succeeded());
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().front().path, spotPath);
    EXPECT_TRUE(server.requests().front().query.isEmpty());
    EXPECT_EQ(server.rejectedCount(), 0);

    server.serve("GET", spotPath, LoopbackReply::json(429, "{}").withHeader("Retry-After", "5"));
    EXPECT_EQ(connectionTestError(), ExchangeAPIError::rateLimited(5));
}

TEST_F(GateProviderTest, TwoAccountsShareOneTickerRequest)
{
    // Two connectors, as two accounts of one exchange have, refreshing within the cache's life.
    const GateProvider first = provider();
    const GateProvider second = provider();
    ASSERT_TRUE(test::runTask(first.fetchSnapshot()).succeeded());
    ASSERT_TRUE(test::runTask(second.fetchSnapshot()).succeeded());
    EXPECT_EQ(server.requestsTo(tickersPath).size(), 1);
    EXPECT_EQ(server.requestsTo(spotPath).size(), 2);
}

// ---- decisions without a network ---------------------------------------------------------------

TEST(GateRepliesTest, PositionSizeIsTextOrAnInteger)
{
    const auto size = [](const char* json) {
        return GatePosition::fromJson(JsonReader::parse(std::string_view(json))).size;
    };
    EXPECT_EQ(size(R"({"contract":"X","size":"-3.5"})"), u"-3.5"_qs);
    EXPECT_EQ(size(R"({"contract":"X","size":-9440})"), u"-9440"_qs);
    EXPECT_EQ(size(R"({"contract":"X","size":123456789012345678901234567890})"),
              u"123456789012345678901234567890"_qs);
    EXPECT_EQ(size(R"({"contract":"X","size":null})"), std::nullopt);
    EXPECT_EQ(size(R"({"contract":"X"})"), std::nullopt);

    for (const char* refused : {R"({"contract":"X","size":1.5})", R"({"contract":"X","size":1e3})",
                                R"({"contract":"X","size":true})",
                                R"({"contract":"X","size":"1","value":200})", R"({"size":"1"})"}) {
        SCOPED_TRACE(refused);
        EXPECT_THROW(GatePosition::fromJson(JsonReader::parse(std::string_view(refused))),
                     JsonDecodeError);
    }
}

TEST(GateAssemblyTest, FuturesValueRule)
{
    struct Case {
        std::optional<QString> cross, total, pnl;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {u"0"_qs, u"100"_qs, u"-5"_qs, "95"},  {u"250"_qs, u"100"_qs, u"-5"_qs, "250"},
        {u"-40"_qs, u"100"_qs, {}, "-40"},     {{}, u"100"_qs, {}, "100"},
        {u"n/a"_qs, u"7"_qs, u"oops"_qs, "7"}, {{}, {}, {}, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(GateProvider::futuresValue(GateFuturesAccount{c.total, c.pnl, c.cross}),
                  dec(c.expected));
    }
    EXPECT_EQ(GateProvider::futuresValue(std::nullopt), Decimal());
}

TEST(GateAssemblyTest, FuturesRowOnlyForANonZeroValue)
{
    GateReplies replies;
    replies.positions = std::vector<GatePosition>{};
    replies.futuresAccount = GateFuturesAccount{u"5"_qs, u"-5"_qs, u"0"_qs};
    const ExchangeProviderSnapshot zero = GateProvider::assemble(replies);
    EXPECT_TRUE(zero.balances.empty());
    EXPECT_EQ(zero.account.accounts,
              (std::vector<AccountBreakdown>{{AccountType::spot, {}}, {AccountType::futures, {}}}));
    EXPECT_TRUE(zero.missingAccounts.empty());

    replies.futuresAccount = GateFuturesAccount{u"-12.5"_qs, {}, {}};
    const ExchangeProviderSnapshot negative = GateProvider::assemble(replies);
    EXPECT_EQ(negative.balances,
              (std::vector<AssetBalance>{row(AccountType::futures, "USDT", "-12.5", "-12.5")}));
    EXPECT_EQ(negative.account.totalValue, dec("-12.5"));
    EXPECT_TRUE(negative.unpricedAssets.empty());
}

TEST(GateAssemblyTest, PositionSidePercentAndNotional)
{
    const auto map = [](const char* mode, const char* size, std::optional<QString> value) {
        GatePosition row{
            u"X_USDT"_qs, QString::fromLatin1(size), QString::fromLatin1(mode), u"1"_qs, u"1"_qs,
            u"10"_qs,     std::move(value)};
        return GateProvider::mapPosition(row);
    };
    EXPECT_EQ(map("dual_short", "3", u"60"_qs)->side, PositionSide::short_);
    EXPECT_EQ(map("dual_short", "3", u"60"_qs)->quantity, Decimal(3));
    EXPECT_EQ(map("single", "-3", u"60"_qs)->side, PositionSide::short_);
    EXPECT_EQ(map("single", "-3", u"60"_qs)->quantity, Decimal(3));
    EXPECT_EQ(map("dual_long", "3", u"60"_qs)->side, PositionSide::long_);
    EXPECT_EQ(map("DUAL_SHORT", "3", u"60"_qs)->side, PositionSide::long_);  // exact text only
    EXPECT_EQ(map("single", "-3", u"-200"_qs)->pnlPercent, Decimal(5));
    EXPECT_EQ(map("single", "-3", u"-200"_qs)->notionalValueUSD, std::optional(Decimal(200)));
    EXPECT_EQ(map("single", "1", std::nullopt)->pnlPercent, Decimal());
    EXPECT_EQ(map("single", "1", std::nullopt)->notionalValueUSD, std::optional(Decimal()));
    EXPECT_EQ(map("single", "0", u"60"_qs), std::nullopt);
    EXPECT_EQ(map("single", "garbage", u"60"_qs), std::nullopt);
    EXPECT_EQ(map("single", "1", u"60"_qs)->assetSymbol, QString());
}

}  // namespace
}  // namespace vantrell
