#include "providers/OKXProvider.h"

#include "providers/common/RequestSigner.h"
#include "providers/common/SignaturePrehash.h"

#include "support/ConnectorFixture.h"
#include "support/OKXFixtureSignature.h"
#include "support/SnapshotExpectations.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vantrell {
namespace {

using namespace std::chrono_literals;
using test::dec;

constexpr test::BalanceRow row{Exchange::okx};
constexpr test::PositionRow position{Exchange::okx};

LoopbackReply envelope(const char* code, const char* msg)
{
    return LoopbackReply::json(
        200, QByteArray(R"({"code":")") + code + R"(","msg":")" + msg + R"(","data":[]})");
}

const QByteArray balancePath = "/api/v5/account/balance";
const QByteArray fundingPath = "/api/v5/asset/balances";
const QByteArray positionsPath = "/api/v5/account/positions";
const QByteArray tickersPath = "/api/v5/market/tickers";

const char* const fundingTotal = "1360.500000005";
const char* const tradingTotal = "25001.25";  // "totalEq", not the sum of the rows

const OKXCredentials accepted{QStringLiteral("fixture-key"), QStringLiteral("okx-secret"),
                              QStringLiteral("Fixture pass 1")};

class OKXProviderTest : public test::ConnectorFixture<OKXProvider> {
protected:
    OKXProviderTest()
        : ConnectorFixture(
              u"okx"_qs, accepted,
              okxFixtureSignature(accepted.apiKey, accepted.secretKey, accepted.passphrase))
    {
    }
};

TEST_F(OKXProviderTest, RecordedAccountGivesTheExactSnapshot)
{
    const auto result = fetch();
    ASSERT_TRUE(result.succeeded());
    const ExchangeProviderSnapshot& snapshot = *result.value;

    EXPECT_EQ(snapshot.account.exchange, Exchange::okx);
    EXPECT_EQ(snapshot.account.totalValue, dec("26361.750000005"));
    EXPECT_EQ(snapshot.account.dailyChangePercent, std::nullopt);
    EXPECT_EQ(snapshot.account.accounts,
              (std::vector<AccountBreakdown>{{AccountType::funding, dec(fundingTotal)},
                                             {AccountType::trading, dec(tradingTotal)}}));
    const std::vector<AssetBalance> balances = {
        row(AccountType::funding, "USDT", "1000.5", "1000.5"),
        row(AccountType::funding, "ETH", "0.1", "300"),  // the first of two ETH-USDT rows wins
        row(AccountType::funding, "ALT", "100", "60"),   // through ALT-BTC and BTC-USDT
        row(AccountType::funding, "DUST", "0.00000001", "0.000000005"),
        row(AccountType::funding, "NOPRICE", "5", "0"),
        row(AccountType::funding, "BAD", "3", "0"),  // BAD-USDT has no price: BAD-BTC not tried
        row(AccountType::trading, "BTC", "0.4", "24000"),
        row(AccountType::trading, "USDT", "1000.75", "1000.75"),
    };
    EXPECT_EQ(snapshot.balances, balances);
    EXPECT_EQ(snapshot.unpricedAssets, (std::vector<QString>{u"NOPRICE"_qs, u"BAD"_qs}));
    EXPECT_EQ(
        snapshot.positions,
        (std::vector<Position>{
            position("BTC-USDT-SWAP", PositionSide::long_, "2", "50000", "52000", "40", "12.34",
                     "1040"),
            position("ETH-USDT-SWAP", PositionSide::short_, "2", "3200", "3000", "40", "6.25",
                     "600"),
            position("DOGE-USDT-SWAP", PositionSide::short_, "3", "0.1", "0.12", "-0.06", "-20",
                     "0"),
            position("XRP-USDT-SWAP", PositionSide::long_, "5", "0.5", "0.52", "0.1", "4", "0"),
        }));
    EXPECT_TRUE(test::isFreshAndWhole(snapshot));
    EXPECT_EQ(server.rejectedCount(), 0);
}

TEST_F(OKXProviderTest, SignedCallsCarryTheFourHeadersInOrderAndTickersNone)
{
    ASSERT_TRUE(fetch().succeeded());
    ASSERT_EQ(server.requests().size(), 4);
    const auto okxHeaders = [](const RecordedRequest& request) {
        QList<QByteArray> names;
        for (const RecordedRequest::Header& header : request.headers) {
            if (header.first.toUpper().startsWith("OK-ACCESS-")) {
                names.append(header.first);
            }
        }
        return names;
    };
    for (const QByteArray& path : {balancePath, fundingPath, positionsPath}) {
        SCOPED_TRACE(path.toStdString());
        const RecordedRequest request = server.requestsTo(path).value(0);
        EXPECT_EQ(request.method, "GET");
        EXPECT_TRUE(request.query.isEmpty());
        EXPECT_EQ(okxHeaders(request),
                  (QList<QByteArray>{"OK-ACCESS-KEY", "OK-ACCESS-SIGN", "OK-ACCESS-TIMESTAMP",
                                     "OK-ACCESS-PASSPHRASE"}));
        EXPECT_EQ(request.header("OK-ACCESS-TIMESTAMP"), QByteArray("2023-11-14T22:13:20.000Z"));
        EXPECT_EQ(request.header("OK-ACCESS-PASSPHRASE"), QByteArray("Fixture pass 1"));
        EXPECT_EQ(request.header("OK-ACCESS-SIGN").value_or(QByteArray()).size(), 44);
        EXPECT_EQ(request.header("Content-Type"), std::nullopt);
    }
    const RecordedRequest tickers = server.requestsTo(tickersPath).value(0);
    EXPECT_EQ(tickers.query, "instType=SPOT");
    EXPECT_TRUE(okxHeaders(tickers).isEmpty());
}

TEST_F(OKXProviderTest, SignatureMatchesTheIndependentVector)
{
    const QString prehash =
        SignaturePrehash::okx(RequestTimestamp(1704164645678), u"GET", u"/api/v5/account/balance");
    EXPECT_EQ(prehash, u"2024-01-02T03:04:05.678ZGET/api/v5/account/balance"_qs);
    const QString vector = u"y+AyhAEvLXpQyVKZjNdIFUPosxOeMSC1eoK0qS+mSas="_qs;
    EXPECT_EQ(RequestSigner::hmacSha256Base64("okx-secret", prehash.toUtf8()), vector);

    // The same moment through the connector: what it sends is what the vector says.
    clock.set(Date::fromUnixSeconds(1704164645.678));
    ASSERT_TRUE(testConnection().succeeded());
    const RecordedRequest sent = server.requestsTo(balancePath).value(0);
    EXPECT_EQ(sent.header("OK-ACCESS-TIMESTAMP"), QByteArray("2024-01-02T03:04:05.678Z"));
    EXPECT_EQ(sent.header("OK-ACCESS-SIGN"), vector.toLatin1());
}

TEST_F(OKXProviderTest, AllFourRequestsReachTheServerBeforeAnyReply)
{
    server.holdRepliesUntil(4);
    ASSERT_TRUE(fetch().succeeded());
    EXPECT_EQ(server.requestsSeenAtFirstReply(), 4);
}

TEST_F(OKXProviderTest, WrongCredentialsAreRefusedWithTheExchangeMessage)
{
    credentials.secretKey = QStringLiteral("another-secret");
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(401, u"Invalid Sign"_qs));
    credentials.secretKey = QStringLiteral("okx-secret");
    credentials.passphrase = QStringLiteral("fixture pass 1");  // not trimmed, not case-folded
    EXPECT_EQ(connectionTestError(),
              ExchangeAPIError::httpStatus(401, u"OK-ACCESS-PASSPHRASE incorrect"_qs));
    EXPECT_GT(server.rejectedCount(), 0);
}

TEST_F(OKXProviderTest, PositionsThatCannotBeReadAreLeftOut)
{
    const std::vector<std::pair<const char*, LoopbackReply>> failures = {
        {"server error", LoopbackReply::html(500, "<html>down</html>")},
        {"refused", LoopbackReply::json(401, R"({"msg":"Invalid OK-ACCESS-KEY","code":"50111"})")},
        {"envelope code", envelope("51000", "Parameter instType error")},
        {"envelope code, no message", envelope("50001", "")},
        {"row without uplRatio",
         LoopbackReply::json(200, R"({"code":"0","msg":"","data":[{"instId":"X","posSide":"net",
             "pos":"1","avgPx":"1","markPx":"1","upl":"0"}]})")},
        {"amount as a number",
         LoopbackReply::json(200, R"({"code":"0","msg":"","data":[{"instId":"X","posSide":"net",
             "pos":1,"avgPx":"1","markPx":"1","upl":"0","uplRatio":"0"}]})")},
        {"code as a number", LoopbackReply::json(200, R"({"code":0,"msg":"","data":[]})")},
        {"null body", LoopbackReply::json(200, "null")},
        {"cut short", LoopbackReply::json(200, R"({"code":"0"})").truncated()},
    };
    for (const auto& [name, reply] : failures) {
        SCOPED_TRACE(name);
        server.serve("GET", positionsPath, reply);
        const auto result = fetch();
        ASSERT_TRUE(result.succeeded());
        EXPECT_TRUE(result.value->positionsUnavailable);
        EXPECT_TRUE(result.value->positions.empty());
        EXPECT_TRUE(result.value->missingAccounts.empty());
        EXPECT_EQ(result.value->balances.size(), 8u);
        EXPECT_EQ(result.value->account.totalValue, dec("26361.750000005"));
    }
}

struct FatalCase {
    const char* name;
    QByteArray path;
    LoopbackReply reply;
    ExchangeAPIError expected;
};

TEST_F(OKXProviderTest, RequiredFailuresAndRateLimitsEndTheFetch)
{
    const std::vector<FatalCase> cases = {
        {"balance unavailable", balancePath, LoopbackReply::html(503, "<html>busy</html>"),
         ExchangeAPIError::httpStatus(503, u"请求失败"_qs)},
        {"funding refused by envelope", fundingPath, envelope("58350", "Insufficient permission"),
         ExchangeAPIError::api(u"Insufficient permission"_qs)},
        {"tickers envelope without message", tickersPath, envelope("50011", ""),
         ExchangeAPIError::api(u"OKX 请求失败（50011）"_qs)},
        {"funding cut short", fundingPath, LoopbackReply::json(200, "{}").truncated(),
         ExchangeAPIError::network()},
        {"positions rate limited", positionsPath,
         LoopbackReply::json(429, R"({"msg":"Too Many Requests","code":"50011"})")
             .withHeader("Retry-After", "120"),
         ExchangeAPIError::rateLimited(120)},
        {"tickers rate limited", tickersPath, LoopbackReply::json(429, "{}"),
         ExchangeAPIError::rateLimited(60)},
    };
    for (const FatalCase& c : cases) {
        SCOPED_TRACE(c.name);
        serveRecorded();
        server.serve("GET", c.path, c.reply);
        EXPECT_EQ(fetchError(), c.expected);
    }
}

TEST_F(OKXProviderTest, UndecodableRequiredReplyEndsTheFetch)
{
    const std::vector<std::pair<QByteArray, QByteArray>> replies = {
        {balancePath, R"({"code":0,"msg":"","data":[]})"},  // code as a number
        {balancePath, R"({"code":"0","msg":""})"},          // no data
        {balancePath,
         R"({"code":"0","msg":"","data":[{"totalEq":"1","details":[{"ccy":"BTC","cashBal":"1"}]}]})"},
        {fundingPath, R"({"code":"0","msg":"","data":[{"ccy":"BTC","bal":1}]})"},
        {tickersPath, R"({"code":"0","msg":null,"data":[]})"},
    };
    for (const auto& [path, body] : replies) {
        SCOPED_TRACE(body.toStdString());
        serveRecorded();
        server.serve("GET", path, LoopbackReply::json(200, body));
        EXPECT_EQ(fetchError().kind(), ExchangeAPIError::Kind::decoding);
    }
}

TEST_F(OKXProviderTest, EarliestFailureInAwaitOrderWinsAndEnvelopesAreCheckedLast)
{
    struct Failure {
        QByteArray path;
        LoopbackReply reply;
    };
    const LoopbackReply slowServerError =
        LoopbackReply::json(500, R"({"msg":"balance down"})").delayedBy(150ms);
    const std::vector<std::tuple<const char*, std::vector<Failure>, ExchangeAPIError>> cases = {
        {"balance fails after funding",
         {{balancePath, slowServerError}, {fundingPath, LoopbackReply::json(503, "{}")}},
         ExchangeAPIError::httpStatus(500, u"balance down"_qs)},
        {"balance fails after the positions' rate limit",
         {{balancePath, slowServerError}, {positionsPath, LoopbackReply::json(429, "{}")}},
         ExchangeAPIError::httpStatus(500, u"balance down"_qs)},
        {"a later transfer failure beats an earlier envelope",
         {{balancePath, envelope("50001", "busy")},
          {tickersPath, LoopbackReply::json(503, R"({"msg":"tickers down"})")}},
         ExchangeAPIError::httpStatus(503, u"tickers down"_qs)},
        {"a rate limit beats an earlier envelope",
         {{balancePath, envelope("50001", "busy")},
          {positionsPath, LoopbackReply::json(429, "{}")}},
         ExchangeAPIError::rateLimited(60)},
        {"envelopes in order: funding before tickers",
         {{tickersPath, envelope("50002", "tickers refused")},
          {fundingPath, envelope("50003", "funding refused")}},
         ExchangeAPIError::api(u"funding refused"_qs)},
    };
    for (const auto& [name, failures, expected] : cases) {
        SCOPED_TRACE(name);
        serveRecorded();
        for (const Failure& failure : failures) {
            server.serve("GET", failure.path, failure.reply);
        }
        EXPECT_EQ(fetchError(), expected);
    }
}

TEST_F(OKXProviderTest, CredentialWithLineBreakSendsNothing)
{
    const OKXCredentials sound = credentials;
    for (const QString& bad :
         {u"fixture-key\r\nX-Injected: 1"_qs, u"fixture-key\n"_qs, u"fixture\0key"_qs}) {
        credentials = sound;
        credentials.apiKey = bad;
        EXPECT_EQ(fetchError(), ExchangeAPIError::missingCredentials());
        credentials = sound;
        credentials.passphrase = bad;
        EXPECT_EQ(fetchError(), ExchangeAPIError::missingCredentials());
        EXPECT_EQ(connectionTestError(), ExchangeAPIError::missingCredentials());
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(OKXProviderTest, BaseUrlThatFormsNoUrlSendsNothing)
{
    const OKXProvider okx = provider(ExchangeEndpoints::allAt(u"not a url"_qs));
    EXPECT_EQ(test::runTask(okx.fetchSnapshot()).errorAs<ExchangeAPIError>(),
              ExchangeAPIError::invalidURL());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(OKXProviderTest, ConnectionTestIsTheBalanceCallAndItsEnvelope)
{
    EXPECT_TRUE(testConnection().succeeded());
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().front().path, balancePath);

    server.serve("GET", balancePath, envelope("50100", "API frozen, please contact support"));
    EXPECT_EQ(connectionTestError(),
              ExchangeAPIError::api(u"API frozen, please contact support"_qs));
    server.serve("GET", balancePath, envelope("50100", ""));
    EXPECT_EQ(connectionTestError(), ExchangeAPIError::api(u"OKX 请求失败（50100）"_qs));
    server.serve("GET", balancePath, LoopbackReply::json(429, "{}"));
    EXPECT_EQ(connectionTestError(), ExchangeAPIError::rateLimited(60));
    EXPECT_EQ(server.requestsTo(balancePath).size(), server.requests().size());
}

// ---- assembly rules without a network
// -------------------------------------------------------------

OKXReplies emptyReplies()
{
    OKXReplies replies;
    replies.positions = std::vector<OKXPositionResponse>{};
    return replies;
}

TEST(OKXAssemblyTest, TradingAccountIsTheFirstElementOnly)
{
    OKXReplies replies = emptyReplies();
    const ExchangeProviderSnapshot empty = OKXProvider::assemble(replies);
    EXPECT_EQ(empty.account.accounts, (std::vector<AccountBreakdown>{{AccountType::funding, {}},
                                                                     {AccountType::trading, {}}}));
    EXPECT_TRUE(empty.balances.empty());

    replies.tradingBalance = {
        {u"n/a"_qs,
         {{u"BTC"_qs, u"1"_qs, u"0"_qs},  // cash without equity: dropped, not unpriced
          {u"ETH"_qs, u"0"_qs, u"5"_qs},
          {u"USDC"_qs, u"2"_qs, u"2.1"_qs}}},
        {u"999"_qs, {{u"SOL"_qs, u"1"_qs, u"100"_qs}}},
    };
    const ExchangeProviderSnapshot snapshot = OKXProvider::assemble(replies);
    EXPECT_EQ(snapshot.balances,
              (std::vector<AssetBalance>{row(AccountType::trading, "USDC", "2", "2.1")}));
    EXPECT_TRUE(snapshot.unpricedAssets.empty());
    // An unparsable "totalEq" counts 0 even though a row has a value.
    EXPECT_EQ(snapshot.account.totalValue, Decimal());
}

TEST(OKXAssemblyTest, FundingCodesAreValuedAsSent)
{
    OKXReplies replies = emptyReplies();
    replies.tickers = {
        {u"usdt-USDT"_qs, u"2"_qs},  // "usdt" is no stablecoin: its own pair prices it
        {u"ETH-USDT"_qs, u"2000"_qs},
        {u"ALT-BTC"_qs, u"0.001"_qs},       // no BTC-USDT bridge
        {u"ZRO-USDT"_qs, u"1e999999"_qs}};  // absurd text: price 0
    replies.funding = {{u"usdt"_qs, u"10"_qs}, {u"eth"_qs, u"1"_qs}, {u"DAI"_qs, u"7"_qs},
                       {u"ALT"_qs, u"50"_qs},  {u"ZRO"_qs, u"4"_qs}, {u"ETH"_qs, u"-0.5"_qs}};
    const ExchangeProviderSnapshot snapshot = OKXProvider::assemble(replies);
    EXPECT_EQ(snapshot.balances, (std::vector<AssetBalance>{
                                     row(AccountType::funding, "usdt", "10", "20"),
                                     row(AccountType::funding, "eth", "1", "0"),
                                     row(AccountType::funding, "DAI", "7", "7"),
                                     row(AccountType::funding, "ALT", "50", "0"),
                                     row(AccountType::funding, "ZRO", "4", "0"),
                                     row(AccountType::funding, "ETH", "-0.5", "-1000"),
                                 }));
    EXPECT_EQ(snapshot.unpricedAssets, (std::vector<QString>{u"eth"_qs, u"ALT"_qs, u"ZRO"_qs}));
    EXPECT_EQ(snapshot.account.totalValue, dec("-973"));
    EXPECT_FALSE(snapshot.positionsUnavailable);

    replies.positions.reset();
    EXPECT_TRUE(OKXProvider::assemble(replies).positionsUnavailable);
}

TEST(OKXAssemblyTest, PositionSideQuantityPercentAndNotional)
{
    const auto map = [](const char* side, const char* size, const char* ratio,
                        std::optional<QString> notional) {
        OKXPositionResponse row{u"X-USDT-SWAP"_qs,
                                QString::fromLatin1(side),
                                QString::fromLatin1(size),
                                u"10"_qs,
                                u"11"_qs,
                                u"n/a"_qs,
                                QString::fromLatin1(ratio),
                                std::move(notional)};
        return OKXProvider::mapPosition(row);
    };
    EXPECT_EQ(map("net", "-3", "0", {})->side, PositionSide::short_);
    EXPECT_EQ(map("net", "-3", "0", {})->quantity, dec("3"));
    EXPECT_EQ(map("short", "2", "0", {})->side, PositionSide::short_);
    EXPECT_EQ(map("long", "-2", "0", {})->side, PositionSide::long_);
    EXPECT_EQ(map("LONG", "-2", "0", {})->side, PositionSide::short_);  // letter case matters
    EXPECT_EQ(map("net", "1", "0.1234", {})->pnlPercent, dec("12.34"));
    EXPECT_EQ(map("net", "1", "bad", {})->pnlPercent, Decimal());
    EXPECT_EQ(map("net", "1", "0", u"-1500.5"_qs)->notionalValueUSD, dec("1500.5"));
    EXPECT_EQ(map("net", "1", "0", {})->notionalValueUSD, std::optional<Decimal>(Decimal()));
    EXPECT_EQ(map("net", "1", "0", {})->unrealizedPnL, Decimal());
    EXPECT_EQ(map("net", "1", "0", {})->assetSymbol, QString());
    EXPECT_EQ(map("long", "0", "0", {}), std::nullopt);
    EXPECT_EQ(map("long", "", "0", {}), std::nullopt);
}

}  // namespace
}  // namespace vantrell
