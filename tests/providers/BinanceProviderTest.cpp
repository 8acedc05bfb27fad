#include "providers/BinanceProvider.h"

#include "support/ConnectorFixture.h"
#include "support/SnapshotExpectations.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vantrell {
namespace {

using namespace std::chrono_literals;
using test::dec;

constexpr test::BalanceRow row{Exchange::binance};
constexpr test::PositionRow position{Exchange::binance};

const QByteArray spotPath = "/api/v3/account";
const QByteArray futuresPath = "/fapi/v3/account";
const QByteArray positionsPath = "/fapi/v3/positionRisk";
const QByteArray pricesPath = "/api/v3/ticker/price";
const QByteArray fundingPath = "/sapi/v1/asset/get-funding-asset";

const char* const spotTotal = "43320.500000005";

const BinanceCredentials accepted{QStringLiteral("fixture-key"), QStringLiteral("fixture-secret")};

class BinanceProviderTest : public test::ConnectorFixture<BinanceProvider> {
protected:
    BinanceProviderTest()
        : ConnectorFixture(u"binance"_qs, accepted,
                           FixtureSignatures::binance(accepted.apiKey, accepted.secretKey))
    {
    }

    // Answers all three optional calls the same way.
    void optionalCallsAnswer(const LoopbackReply& reply)
    {
        server.serve("GET", futuresPath, reply);
        server.serve("GET", positionsPath, reply);
        server.serve("POST", fundingPath, reply);
    }
};

TEST_F(BinanceProviderTest, RecordedAccountGivesTheExactSnapshot)
{
    const auto result = fetch();
    ASSERT_TRUE(result.succeeded());
    const ExchangeProviderSnapshot& snapshot = *result.value;

    EXPECT_EQ(snapshot.account.exchange, Exchange::binance);
    EXPECT_EQ(snapshot.account.totalValue, dec("47471.250000005"));
    EXPECT_EQ(snapshot.account.dailyChangePercent, std::nullopt);
    EXPECT_EQ(snapshot.account.accounts,
              (std::vector<AccountBreakdown>{{AccountType::spot, dec(spotTotal)},
                                             {AccountType::funding, dec("1650")},
                                             {AccountType::futures, dec("2500.75")}}));
    const std::vector<AssetBalance> balances = {
        row(AccountType::spot, "BTC", "0.6", "36000"),
        row(AccountType::spot, "ETH", "2", "6000"),  // the first of two ETHUSDT rows wins
        row(AccountType::spot, "USDT", "1250.5", "1250.5"),
        row(AccountType::spot, "ALT", "100", "60"),  // through ALTBTC and BTCUSDT
        row(AccountType::spot, "DUST", "0.00000001", "0.000000005"),
        row(AccountType::spot, "NOPRICE", "5", "0"),
        row(AccountType::spot, "BAD", "3", "0"),  // BADUSDT unparsable: 0 ends the ladder
        row(AccountType::spot, "FDUSD", "10", "10"),
        row(AccountType::funding, "USDT", "100", "150"),  // btcValuation × BTCUSDT
        row(AccountType::funding, "BNB", "2", "1200"),    // btcValuation "0": the ladder
        row(AccountType::funding, "ETH", "0.1", "300"),
        row(AccountType::funding, "NOPRICE", "1", "0"),
        row(AccountType::futures, "USDT", "2500.75", "2500.75"),
    };
    EXPECT_EQ(snapshot.balances, balances);
    EXPECT_EQ(snapshot.unpricedAssets,
              (std::vector<QString>{u"NOPRICE"_qs, u"BAD"_qs, u"NOPRICE"_qs}));
    EXPECT_EQ(
        snapshot.positions,
        (std::vector<Position>{
            position("BTCUSDT", PositionSide::long_, "0.01", "50000", "52000", "20", "4", "520"),
            position("ETHUSDT", PositionSide::short_, "2.5", "3200", "3000", "500", "6.25", "7500"),
            position("DOGEUSDT", PositionSide::short_, "1000", "0.1", "0.12", "-20", "-20", "0"),
        }));
    EXPECT_TRUE(test::isFreshAndWhole(snapshot));
    EXPECT_EQ(server.rejectedCount(), 0);
}

TEST_F(BinanceProviderTest, RequestsCarryTheirQueryHeadersAndSignature)
{
    ASSERT_TRUE(fetch().succeeded());
    ASSERT_EQ(server.requests().size(), 5);

    const RecordedRequest spot = server.requestsTo(spotPath).value(0);
    EXPECT_EQ(spot.method, "GET");
    EXPECT_TRUE(spot.query.startsWith(
        "omitZeroBalances=true&recvWindow=5000&timestamp=1700000000000&signature="));
    EXPECT_EQ(spot.header("X-MBX-APIKEY"), QByteArray("fixture-key"));

    for (const QByteArray& path : {futuresPath, positionsPath, fundingPath}) {
        SCOPED_TRACE(path.toStdString());
        const RecordedRequest request = server.requestsTo(path).value(0);
        EXPECT_TRUE(request.query.startsWith("recvWindow=5000&timestamp=1700000000000&signature="));
        EXPECT_EQ(request.query.size(), qsizetype(50 + 64));  // 64 hex digits
    }

    const RecordedRequest funding = server.requestsTo(fundingPath).value(0);
    EXPECT_EQ(funding.method, "POST");
    EXPECT_TRUE(funding.body.isEmpty());
    const auto headerIndex = [&funding](const QByteArray& name) {
        for (qsizetype i = 0; i < funding.headers.size(); ++i) {
            if (funding.headers[i].first.compare(name, Qt::CaseInsensitive) == 0) {
                return i;
            }
        }
        return qsizetype(-1);
    };
    EXPECT_GE(headerIndex("X-MBX-APIKEY"), 0);
    EXPECT_GT(headerIndex("Content-Type"), headerIndex("X-MBX-APIKEY"));
    EXPECT_EQ(funding.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    // No body, and it says so: a POST without a length may be refused with 411.
    EXPECT_EQ(funding.header("Content-Length"), QByteArray("0"));

    const RecordedRequest prices = server.requestsTo(pricesPath).value(0);
    EXPECT_EQ(prices.method, "GET");
    EXPECT_TRUE(prices.query.isEmpty());
    EXPECT_EQ(prices.header("X-MBX-APIKEY"), std::nullopt);
}

TEST_F(BinanceProviderTest, AllFiveRequestsReachTheServerBeforeAnyReply)
{
    server.holdRepliesUntil(5);
    ASSERT_TRUE(fetch().succeeded());
    EXPECT_EQ(server.requestsSeenAtFirstReply(), 5);
}

TEST_F(BinanceProviderTest, WrongSecretIsRefusedByTheExchangeRule)
{
    credentials.secretKey = QStringLiteral("another-secret");
    EXPECT_EQ(fetchError(),
              ExchangeAPIError::httpStatus(401, u"Signature for this request is not valid."_qs));
    EXPECT_GT(server.rejectedCount(), 0);
}

TEST_F(BinanceProviderTest, AccountScopeRefusalsLeaveTheirPartsOut)
{
    const std::vector<LoopbackReply> refusals = {
        LoopbackReply::json(
            401, R"({"code":-2015,"msg":"Invalid API-KEY, IP, or permissions for action."})"),
        LoopbackReply::json(400, R"({"code":-1,"msg":"This account does not exist."})"),
        LoopbackReply::json(403, R"({"msg":"Futures trading is not enabled"})"),
        LoopbackReply::json(403, R"({"msg":"Wallet Not Activated"})"),
        LoopbackReply::json(200, "null"),
    };
    for (const LoopbackReply& refusal : refusals) {
        SCOPED_TRACE(refusal.body.toStdString());
        optionalCallsAnswer(refusal);
        const auto result = fetch();
        ASSERT_TRUE(result.succeeded());
        const ExchangeProviderSnapshot& snapshot = *result.value;
        EXPECT_EQ(snapshot.missingAccounts,
                  (std::set<AccountType>{AccountType::funding, AccountType::futures}));
        EXPECT_TRUE(snapshot.positionsUnavailable);
        EXPECT_TRUE(snapshot.positions.empty());
        EXPECT_EQ(snapshot.account.accounts,
                  (std::vector<AccountBreakdown>{{AccountType::spot, dec(spotTotal)},
                                                 {AccountType::funding, Decimal()},
                                                 {AccountType::futures, Decimal()}}));
        EXPECT_EQ(snapshot.account.totalValue, dec(spotTotal));
        EXPECT_EQ(snapshot.balances.size(), 8u);  // the spot rows only
        EXPECT_EQ(snapshot.unpricedAssets, (std::vector<QString>{u"NOPRICE"_qs, u"BAD"_qs}));
    }
}

struct FatalCase {
    const char* name;
    QByteArray method;
    QByteArray path;
    LoopbackReply reply;
    ExchangeAPIError expected;
};

TEST_F(BinanceProviderTest, AnyOtherFailureOfAnyCallEndsTheFetch)
{
    const std::vector<FatalCase> cases = {
        {"spot refused for the key", "GET", spotPath,
         LoopbackReply::json(401, R"({"code":-2015,"msg":"Invalid API-key"})"),
         ExchangeAPIError::httpStatus(401, u"Invalid API-key"_qs)},
        {"prices unavailable", "GET", pricesPath, LoopbackReply::html(503, "<html>down</html>"),
         ExchangeAPIError::httpStatus(503, u"请求失败"_qs)},
        {"futures 403 without a phrase", "GET", futuresPath,
         LoopbackReply::json(403, R"({"msg":"Forbidden"})"),
         ExchangeAPIError::httpStatus(403, u"Forbidden"_qs)},
        {"positions 402", "GET", positionsPath,
         LoopbackReply::json(402, R"({"msg":"no permission"})"),
         ExchangeAPIError::httpStatus(402, u"no permission"_qs)},
        {"funding 404", "POST", fundingPath, LoopbackReply::json(404, R"({"msg":"permission"})"),
         ExchangeAPIError::httpStatus(404, u"permission"_qs)},
        {"funding rate limited", "POST", fundingPath,
         LoopbackReply::json(429, "{}").withHeader("Retry-After", "120"),
         ExchangeAPIError::rateLimited(120)},
        {"positions banned", "GET", positionsPath, LoopbackReply::json(418, "{}"),
         ExchangeAPIError::rateLimited(60)},
        {"positions cut short", "GET", positionsPath, LoopbackReply::json(200, "[]").truncated(),
         ExchangeAPIError::network()},
    };
    for (const FatalCase& c : cases) {
        SCOPED_TRACE(c.name);
        serveRecorded();
        server.serve(c.method, c.path, c.reply);
        EXPECT_EQ(fetchError(), c.expected);
    }
}

TEST_F(BinanceProviderTest, UndecodableOptionalReplyEndsTheFetch)
{
    const std::vector<std::pair<QByteArray, QByteArray>> replies = {
        {futuresPath, R"({"totalWalletBalance":"1"})"},            // required key missing
        {futuresPath, R"({"totalMarginBalance":2500.75})"},        // amount as a number
        {fundingPath, R"([{"free":"1"}])"},                        // asset missing
        {positionsPath, R"([{"symbol":"X","positionAmt":"1"}])"},  // fields missing
        {fundingPath, R"([{"asset":"BNB","free":1.5}])"},          // optional amount as a number
    };
    for (const auto& [path, body] : replies) {
        SCOPED_TRACE(body.toStdString());
        serveRecorded();
        server.serve(path == fundingPath ? "POST" : "GET", path, LoopbackReply::json(200, body));
        EXPECT_EQ(fetchError().kind(), ExchangeAPIError::Kind::decoding);
    }
}

TEST_F(BinanceProviderTest, EarliestFailureInAwaitOrderWinsOverEarliestInTime)
{
    // Awaited: spot, prices, futures, positions, funding. In each pair the call awaited first
    // fails last; prices also starts after futures.
    server.serve("GET", spotPath,
                 LoopbackReply::json(500, R"({"msg":"spot down"})").delayedBy(150ms));
    server.serve("GET", pricesPath, LoopbackReply::json(503, R"({"msg":"prices down"})"));
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(500, u"spot down"_qs));

    serveRecorded();
    server.serve("GET", pricesPath,
                 LoopbackReply::json(503, R"({"msg":"prices down"})").delayedBy(150ms));
    server.serve("GET", futuresPath, LoopbackReply::json(403, R"({"msg":"Forbidden"})"));
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(503, u"prices down"_qs));
}

TEST_F(BinanceProviderTest, CredentialWithLineBreakSendsNothing)
{
    for (const QString& key :
         {u"fixture-key\r\nX-Injected: 1"_qs, u"fixture-key\n"_qs, u"fixture\0key"_qs}) {
        credentials.apiKey = key;
        EXPECT_EQ(fetchError(), ExchangeAPIError::missingCredentials());
        EXPECT_EQ(connectionTestError(), ExchangeAPIError::missingCredentials());
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(BinanceProviderTest, BaseUrlThatFormsNoUrlSendsNothing)
{
    const BinanceProvider binance = provider(ExchangeEndpoints::allAt(u"not a url"_qs));
    const auto result = test::runTask(binance.fetchSnapshot());
    EXPECT_EQ(result.errorAs<ExchangeAPIError>(), ExchangeAPIError::invalidURL());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(BinanceProviderTest, ConnectionTestIsTheSignedSpotCallWithoutOptionalRule)
{
    EXPECT_TRUE(testConnection().succeeded());
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().front().path, spotPath);
    EXPECT_TRUE(server.requests().front().query.startsWith("omitZeroBalances=true&"));

    server.serve("GET", spotPath,
                 LoopbackReply::json(401, R"({"msg":"Invalid API-key, IP, or permissions"})"));
    EXPECT_EQ(connectionTestError(),
              ExchangeAPIError::httpStatus(401, u"Invalid API-key, IP, or permissions"_qs));
}

// ---- assembly rules without a network
// -------------------------------------------------------------

TEST(BinanceAssemblyTest, FundingValuationAndFuturesEdges)
{
    BinanceReplies replies;
    replies.prices = {{u"ETHUSDT"_qs, u"2000"_qs}};  // no BTCUSDT
    replies.futuresAccount = BinanceFuturesAccountResponse{u"-12.5"_qs};
    replies.positions = std::vector<BinancePositionResponse>{};
    replies.funding = std::vector<BinanceFundingBalance>{
        {u"USDC"_qs, u"10"_qs, {}, {}, {}, u"0.0001"_qs},    // valued from BTC, no BTC price: 0
        {u"ETH"_qs, {}, u"1"_qs, u"0.5"_qs, u"0.5"_qs, {}},  // every part counts
    };
    const ExchangeProviderSnapshot snapshot = BinanceProvider::assemble(replies);
    EXPECT_EQ(snapshot.balances,
              (std::vector<AssetBalance>{row(AccountType::funding, "USDC", "10", "0"),
                                         row(AccountType::funding, "ETH", "2", "4000"),
                                         row(AccountType::futures, "USDT", "-12.5", "-12.5")}));
    EXPECT_EQ(snapshot.unpricedAssets, (std::vector<QString>{u"USDC"_qs}));
    EXPECT_EQ(snapshot.account.totalValue, dec("3987.5"));
    EXPECT_TRUE(snapshot.missingAccounts.empty());
    EXPECT_FALSE(snapshot.positionsUnavailable);

    replies.futuresAccount = BinanceFuturesAccountResponse{u"0"_qs};
    const ExchangeProviderSnapshot zeroFutures = BinanceProvider::assemble(replies);
    EXPECT_EQ(zeroFutures.balances.size(), 2u);
    EXPECT_EQ(zeroFutures.account.accounts.back(), (AccountBreakdown{AccountType::futures, {}}));
    EXPECT_TRUE(zeroFutures.missingAccounts.empty());
}

TEST(BinanceAssemblyTest, PositionSideAndPercentRules)
{
    const auto map = [](const char* side, const char* amount, const char* entry) {
        BinancePositionResponse row{u"XUSDT"_qs,
                                    QString::fromLatin1(amount),
                                    QString::fromLatin1(entry),
                                    u"1"_qs,
                                    u"5"_qs,
                                    QString::fromLatin1(side),
                                    std::nullopt};
        return BinanceProvider::mapPosition(row);
    };
    EXPECT_EQ(map("long", "-0.5", "10")->side, PositionSide::short_);  // letter case matters
    EXPECT_EQ(map("BOTH", "0.5", "10")->side, PositionSide::long_);
    EXPECT_EQ(map("SHORT", "0.5", "10")->side, PositionSide::short_);
    EXPECT_EQ(map("BOTH", "-0.5", "10")->quantity, dec("0.5"));
    EXPECT_EQ(map("BOTH", "-0.5", "10")->pnlPercent, Decimal(100));
    EXPECT_EQ(map("BOTH", "1", "0")->pnlPercent, Decimal());
    EXPECT_EQ(map("BOTH", "1", "0")->notionalValueUSD, std::optional<Decimal>(Decimal()));
    EXPECT_EQ(map("LONG", "0.000", "10"), std::nullopt);
    EXPECT_EQ(map("LONG", "garbage", "10"), std::nullopt);
}

}  // namespace
}  // namespace vantrell
