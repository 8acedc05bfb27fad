#include "providers/BybitProvider.h"

#include "providers/common/RequestSigner.h"
#include "providers/common/SignaturePrehash.h"

#include "support/BybitFixtureSignature.h"
#include "support/ConnectorFixture.h"
#include "support/SnapshotExpectations.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vantrell {
namespace {

using namespace std::chrono_literals;
using test::dec;

constexpr test::BalanceRow row{Exchange::bybit};
constexpr test::PositionRow position{Exchange::bybit};

const QByteArray walletPath = "/v5/account/wallet-balance";
const QByteArray fundingPath = "/v5/asset/transfer/query-account-coins-balance";
const QByteArray positionsPath = "/v5/position/list";
const QByteArray tickersPath = "/v5/market/tickers";
// The two position calls share a path; the settle coin in the query tells them apart.
const QByteArray usdtPositionsQuery = "category=linear&limit=200&settleCoin=USDT";
const QByteArray usdcPositionsQuery = "category=linear&limit=200&settleCoin=USDC";

const std::vector<AssetBalance> tradingRows = {
    row(AccountType::trading, "BTC", "0.3", "18000.12"),
    row(AccountType::trading, "USDT", "5000.5", "5001.2"),
    row(AccountType::trading, "DUST", "0.00000001", "0.0000000005"),
    row(AccountType::trading, "USDC", "-20", "-20.01"),  // borrowed: listed as sent
};
const std::vector<Position> usdtPositions = {
    position("BTCUSDT", PositionSide::long_, "0.5", "60000", "61200", "600", "2", "30000"),
    position("ETHUSDT", PositionSide::short_, "2", "3000", "3150", "-300", "-5", "6000"),
    // "sell" is not "Sell"; no positionValue gives a notional of 0
    position("DOGEUSDT", PositionSide::long_, "1000", "0.1", "0.09", "-10", "-10", "0"),
};
const std::vector<Position> usdcPositions = {
    position("SOLPERP", PositionSide::short_, "10", "0", "160", "-100", "0", "1600"),
};

std::vector<Position> allPositions()
{
    std::vector<Position> positions = usdtPositions;
    positions.insert(positions.end(), usdcPositions.begin(), usdcPositions.end());
    return positions;
}

QByteArray envelope(const QByteArray& retCode, const QByteArray& retMsg, const QByteArray& result)
{
    return "{\"retCode\":" + retCode + ",\"retMsg\":\"" + retMsg + "\",\"result\":" + result +
           ",\"retExtInfo\":{},\"time\":1700000000000}";
}

// The key and secret of the signing vectors, so the sent signatures can be compared.
const BybitCredentials accepted{QStringLiteral("bybit-key"), QStringLiteral("bybit-secret")};

class BybitProviderTest : public test::ConnectorFixture<BybitProvider> {
protected:
    BybitProviderTest()
        : ConnectorFixture(u"bybit"_qs, accepted,
                           bybitFixtureSignature(accepted.apiKey, accepted.secretKey))
    {
    }

    // Answers one optional call ("funding", "USDT" or "USDC") with `reply`.
    void optionalCallAnswers(const QByteArray& call, const LoopbackReply& reply)
    {
        if (call == "funding") {
            server.serve("GET", fundingPath, reply);
            return;
        }
        server.serve("GET", positionsPath, call == "USDT" ? usdtPositionsQuery : usdcPositionsQuery,
                     reply);
    }
};

TEST_F(BybitProviderTest, RecordedAccountGivesTheExactSnapshot)
{
    const auto result = fetch();
    ASSERT_TRUE(result.succeeded());
    const ExchangeProviderSnapshot& snapshot = *result.value;

    EXPECT_EQ(snapshot.account.exchange, Exchange::bybit);
    // The trading breakdown is the wallet's totalEquity, not the sum of its listed coins.
    EXPECT_EQ(snapshot.account.accounts,
              (std::vector<AccountBreakdown>{{AccountType::trading, dec("25000.5")},
                                             {AccountType::funding, dec("2320.000000005")}}));
    EXPECT_EQ(snapshot.account.totalValue, dec("27320.500000005"));
    EXPECT_EQ(snapshot.account.dailyChangePercent, std::nullopt);

    std::vector<AssetBalance> balances = tradingRows;
    const std::vector<AssetBalance> fundingRows = {
        row(AccountType::funding, "USDT", "100", "100"),
        row(AccountType::funding, "BTC", "0.01", "600"),
        row(AccountType::funding, "ALT", "1000", "120"),  // ALTBTC × BTCUSDT
        row(AccountType::funding, "NOPRICE", "5", "0"),
        row(AccountType::funding, "ZPX", "10", "0"),  // ZPXUSDT at 0 ends the ladder
        row(AccountType::funding, "usdc", "7", "0"),  // no stablecoin in lower case
        row(AccountType::funding, "DUST", "0.00000001", "0.000000005"),
        row(AccountType::funding, "ETH", "0.5", "1500"),  // the first of two ETHUSDT rows
    };
    balances.insert(balances.end(), fundingRows.begin(), fundingRows.end());
    EXPECT_EQ(snapshot.balances, balances);
    EXPECT_EQ(snapshot.unpricedAssets,
              (std::vector<QString>{u"NOPRICE"_qs, u"ZPX"_qs, u"usdc"_qs}));
    EXPECT_EQ(snapshot.positions, allPositions());
    EXPECT_TRUE(test::isFreshAndWhole(snapshot));
    EXPECT_EQ(server.rejectedCount(), 0);
}

TEST_F(BybitProviderTest, RequestsCarryTheSignedQueryAndHeadersInOrder)
{
    ASSERT_TRUE(fetch().succeeded());
    ASSERT_EQ(server.requests().size(), 5);

    const auto bybitHeaders = [](const RecordedRequest& request) {
        QList<QByteArray> names;
        for (const auto& [name, value] : request.headers) {
            if (name.toUpper().startsWith("X-BAPI-") ||
                name.compare("Content-Type", Qt::CaseInsensitive) == 0) {
                names.append(name.toUpper());
            }
        }
        return names;
    };
    const QList<QByteArray> signedHeaders = {"X-BAPI-API-KEY", "X-BAPI-TIMESTAMP",
                                             "X-BAPI-RECV-WINDOW", "X-BAPI-SIGN"};
    // The signatures of the signing vectors: 1700000000000 + "bybit-key" + "5000" + query.
    const struct {
        QByteArray path;
        QByteArray query;
        QByteArray signature;
    } calls[] = {
        {walletPath, "accountType=UNIFIED",
         "cc6beab87ff58b6f05612e03316846ad09d6336bda1a3c292570b580f2696d48"},
        {positionsPath, "category=linear&limit=200&settleCoin=USDT",
         "e7cd49c46394cd18585c0c59075527f3b33f4e8d98050c34902fdce3ba938875"},
        {fundingPath, "accountType=FUND", {}},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(call.query.toStdString());
        const QList<RecordedRequest> sent = server.requestsTo(call.path);
        ASSERT_FALSE(sent.isEmpty());
        const RecordedRequest& request = sent.front();
        EXPECT_EQ(request.method, "GET");
        EXPECT_EQ(request.query, call.query);
        EXPECT_EQ(bybitHeaders(request), signedHeaders);
        EXPECT_EQ(request.header("X-BAPI-API-KEY"), QByteArray("bybit-key"));
        EXPECT_EQ(request.header("X-BAPI-TIMESTAMP"), QByteArray("1700000000000"));
        EXPECT_EQ(request.header("X-BAPI-RECV-WINDOW"), QByteArray("5000"));
        if (!call.signature.isEmpty()) {
            EXPECT_EQ(request.header("X-BAPI-SIGN"), call.signature);
        }
    }
    const QList<RecordedRequest> positions = server.requestsTo(positionsPath);
    ASSERT_EQ(positions.size(), 2);
    EXPECT_EQ(positions[1].query, "category=linear&limit=200&settleCoin=USDC");

    const RecordedRequest tickers = server.requestsTo(tickersPath).value(0);
    EXPECT_EQ(tickers.query, "category=spot");
    EXPECT_TRUE(bybitHeaders(tickers).isEmpty());
}

TEST_F(BybitProviderTest, SigningVectorsGiveTheTextAndTheMac)
{
    const RequestTimestamp at(1700000000000);
    const QString wallet =
        SignaturePrehash::bybit(at, u"bybit-key", BybitProvider::defaultReceiveWindow,
                                BybitProvider::queryString({{u"accountType"_qs, u"UNIFIED"_qs}}));
    EXPECT_EQ(wallet, u"1700000000000bybit-key5000accountType=UNIFIED"_qs);
    EXPECT_EQ(RequestSigner::hmacSha256Hex("bybit-secret", wallet.toUtf8()),
              u"cc6beab87ff58b6f05612e03316846ad09d6336bda1a3c292570b580f2696d48"_qs);

    // Handed over in any order, sent in key order.
    const QString positions =
        SignaturePrehash::bybit(at, u"bybit-key", u"5000",
                                BybitProvider::queryString({{u"settleCoin"_qs, u"USDT"_qs},
                                                            {u"limit"_qs, u"200"_qs},
                                                            {u"category"_qs, u"linear"_qs}}));
    EXPECT_EQ(positions, u"1700000000000bybit-key5000category=linear&limit=200&settleCoin=USDT"_qs);
    EXPECT_EQ(RequestSigner::hmacSha256Hex("bybit-secret", positions.toUtf8()),
              u"e7cd49c46394cd18585c0c59075527f3b33f4e8d98050c34902fdce3ba938875"_qs);
    EXPECT_EQ(BybitProvider::queryString({}), QString());
}

TEST_F(BybitProviderTest, ReceiveWindowIsSentAndSigned)
{
    const BybitProvider bybit(credentials, client, server.endpoints(), clock, u"20000"_qs);
    ASSERT_TRUE(test::runTask(bybit.fetchSnapshot()).succeeded());
    EXPECT_EQ(server.requestsTo(walletPath).value(0).header("X-BAPI-RECV-WINDOW"),
              QByteArray("20000"));
    EXPECT_EQ(server.rejectedCount(), 0);
}

TEST_F(BybitProviderTest, AllFiveRequestsReachTheServerBeforeAnyReply)
{
    server.holdRepliesUntil(5);
    ASSERT_TRUE(fetch().succeeded());
    EXPECT_EQ(server.requestsSeenAtFirstReply(), 5);
}

TEST_F(BybitProviderTest, WrongKeyOrSecretIsRefusedWithTheExchangeStatus)
{
    // Bybit's 401 body carries retCode and retMsg only: the status message falls back.
    credentials.secretKey = QStringLiteral("another-secret");
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(401, u"请求失败"_qs));
    EXPECT_GT(server.rejectedCount(), 0);

    credentials = {QStringLiteral("another-key"), QStringLiteral("bybit-secret")};
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(401, u"请求失败"_qs));
}

TEST_F(BybitProviderTest, OptionalCallFailuresLeaveOnlyTheirPartOut)
{
    // The result carries both arrays so it decodes for every call.
    const QByteArray emptyResult = R"({"list":[],"balance":[]})";
    const struct {
        const char* name;
        LoopbackReply reply;
    } failures[] = {
        {"refused by envelope",
         LoopbackReply::json(200, envelope("10005", "Permission denied", emptyResult))},
        {"refused without text", LoopbackReply::json(200, envelope("10005", "", emptyResult))},
        {"error result without arrays",
         LoopbackReply::json(200, envelope("10001", "params error", "{}"))},
        {"amount as a number",
         LoopbackReply::json(200, envelope("0", "OK",
                                           R"({"balance":[{"coin":"BTC","walletBalance":1}],)"
                                           R"("list":[{"symbol":"X","side":"Buy","size":1}]})"))},
        {"null body", LoopbackReply::json(200, "null")},
        {"http status", LoopbackReply::json(403, envelope("10005", "Permission denied", "{}"))},
        {"html page", LoopbackReply::html(502, "<html>Bad Gateway</html>")},
        {"cut short", LoopbackReply::json(200, envelope("0", "OK", emptyResult)).truncated()},
    };
    for (const QByteArray call : {"funding", "USDT", "USDC"}) {
        for (const auto& failure : failures) {
            SCOPED_TRACE(call.toStdString() + ": " + failure.name);
            serveRecorded();
            optionalCallAnswers(call, failure.reply);
            const auto result = fetch();
            ASSERT_TRUE(result.succeeded());
            const ExchangeProviderSnapshot& snapshot = *result.value;
            if (call == "funding") {
                EXPECT_EQ(snapshot.missingAccounts, std::set<AccountType>{AccountType::funding});
                EXPECT_EQ(snapshot.account.accounts,
                          (std::vector<AccountBreakdown>{{AccountType::trading, dec("25000.5")},
                                                         {AccountType::funding, Decimal()}}));
                EXPECT_EQ(snapshot.account.totalValue, dec("25000.5"));
                EXPECT_EQ(snapshot.balances, tradingRows);
                EXPECT_TRUE(snapshot.unpricedAssets.empty());
                EXPECT_EQ(snapshot.positions, allPositions());
                EXPECT_FALSE(snapshot.positionsUnavailable);
            } else {
                EXPECT_TRUE(snapshot.missingAccounts.empty());
                EXPECT_EQ(snapshot.positions, call == "USDT" ? usdcPositions : usdtPositions);
                EXPECT_TRUE(snapshot.positionsUnavailable);
                EXPECT_EQ(snapshot.account.totalValue, dec("27320.500000005"));
            }
        }
    }
}

TEST_F(BybitProviderTest, RateLimitOnAnyOptionalCallEndsTheFetch)
{
    // Even over a wallet envelope that refuses: the envelopes are checked after every await.
    for (const QByteArray call : {"funding", "USDT", "USDC"}) {
        SCOPED_TRACE(call.toStdString());
        serveRecorded();
        server.serve("GET", walletPath,
                     LoopbackReply::json(200, envelope("10003", "", R"({"list":[]})")));
        optionalCallAnswers(call,
                            LoopbackReply::json(429, envelope("10006", "Too many visits!", "{}"))
                                .withHeader("Retry-After", "120"));
        EXPECT_EQ(fetchError(), ExchangeAPIError::rateLimited(120));

        optionalCallAnswers(call, LoopbackReply::json(418, "{}"));
        EXPECT_EQ(fetchError(), ExchangeAPIError::rateLimited(60));
    }
}

struct RequiredFailure {
    const char* name;
    QByteArray path;
    LoopbackReply reply;
    ExchangeAPIError expected;
};

TEST_F(BybitProviderTest, RequiredCallFailuresAndRefusalsEndTheFetch)
{
    const QByteArray noWallet = R"({"list":[]})";
    const std::vector<RequiredFailure> failures = {
        {"wallet refused without text", walletPath,
         LoopbackReply::json(200, envelope("10003", "", noWallet)),
         ExchangeAPIError::api(u"Bybit 请求失败（10003）"_qs)},
        {"wallet refused with text", walletPath,
         LoopbackReply::json(200, envelope("10002",
                                           "invalid request, please check your server "
                                           "timestamp or recv_window param",
                                           noWallet)),
         ExchangeAPIError::api(
             u"invalid request, please check your server timestamp or recv_window param"_qs)},
        {"wallet http status: retMsg unread", walletPath,
         LoopbackReply::json(403, envelope("10005", "Permission denied", noWallet)),
         ExchangeAPIError::httpStatus(403, u"请求失败"_qs)},
        {"wallet cut short", walletPath, LoopbackReply::json(200, "{}").truncated(),
         ExchangeAPIError::network()},
        // Bybit's refusals carry an empty result object.
        {"wallet refused with an empty result", walletPath,
         LoopbackReply::json(200, envelope("10003", "API key is invalid.", "{}")),
         ExchangeAPIError::api(u"API key is invalid."_qs)},
        {"tickers refused with an empty result", tickersPath,
         LoopbackReply::json(200, envelope("10016", "Service not available", "{}")),
         ExchangeAPIError::api(u"Service not available"_qs)},
        {"tickers refused", tickersPath,
         LoopbackReply::json(200, envelope("10016", "Service not available", R"({"list":[]})")),
         ExchangeAPIError::api(u"Service not available"_qs)},
        {"tickers unavailable", tickersPath, LoopbackReply::html(503, "<html>down</html>"),
         ExchangeAPIError::httpStatus(503, u"请求失败"_qs)},
        {"tickers rate limited", tickersPath,
         LoopbackReply::json(429, "{}").withHeader("Retry-After", "7"),
         ExchangeAPIError::rateLimited(7)},
    };
    for (const RequiredFailure& failure : failures) {
        SCOPED_TRACE(failure.name);
        serveRecorded();
        server.serve("GET", failure.path, failure.reply);
        EXPECT_EQ(fetchError(), failure.expected);
    }
}

TEST_F(BybitProviderTest, UndecodableRequiredReplyIsADecodingFailure)
{
    const std::vector<std::pair<QByteArray, QByteArray>> replies = {
        {walletPath, envelope("0", "OK", "{}")},                   // success without a list
        {walletPath, envelope(R"("0")", "OK", R"({"list":[]})")},  // code as text
        {walletPath, envelope("0", "OK", R"({"list":[{"totalEquity":1,"coin":[]}]})")},
        {walletPath, R"({"retCode":0,"result":{"list":[]}})"},  // retMsg missing
        {tickersPath, envelope("0", "OK", R"({"list":[{"symbol":"BTCUSDT","lastPrice":60000}]})")},
    };
    for (const auto& [path, body] : replies) {
        SCOPED_TRACE(body.toStdString());
        serveRecorded();
        server.serve("GET", path, LoopbackReply::json(200, body));
        EXPECT_EQ(fetchError().kind(), ExchangeAPIError::Kind::decoding);
    }
}

TEST_F(BybitProviderTest, EarliestFailureInAwaitOrderWins)
{
    // Awaited: wallet, funding, USDT, USDC, tickers. The tickers fail first in time each time.
    const LoopbackReply tickersDown = LoopbackReply::json(503, R"({"message":"tickers down"})");
    server.serve("GET", walletPath,
                 LoopbackReply::json(500, R"({"message":"wallet down"})").delayedBy(150ms));
    server.serve("GET", tickersPath, tickersDown);
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(500, u"wallet down"_qs));

    serveRecorded();
    optionalCallAnswers("USDC", LoopbackReply::json(429, "{}").delayedBy(150ms));
    server.serve("GET", tickersPath, tickersDown);
    EXPECT_EQ(fetchError(), ExchangeAPIError::rateLimited(60));

    // A wallet refusal is checked only after the tickers call, whose failure therefore wins.
    serveRecorded();
    server.serve("GET", walletPath,
                 LoopbackReply::json(200, envelope("10003", "", R"({"list":[]})")));
    server.serve("GET", tickersPath, tickersDown);
    EXPECT_EQ(fetchError(), ExchangeAPIError::httpStatus(503, u"tickers down"_qs));
}

TEST_F(BybitProviderTest, CredentialWithLineBreakSendsNothing)
{
    for (const QString& key :
         {u"bybit-key\r\nX-Injected: 1"_qs, u"bybit-key\n"_qs, u"bybit\0key"_qs}) {
        credentials.apiKey = key;
        EXPECT_EQ(fetchError(), ExchangeAPIError::missingCredentials());
        EXPECT_EQ(connectionTestError(), ExchangeAPIError::missingCredentials());
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(BybitProviderTest, BaseUrlThatFormsNoUrlSendsNothing)
{
    const BybitProvider bybit = provider(ExchangeEndpoints::allAt(u"not a url"_qs));
    EXPECT_EQ(test::runTask(bybit.fetchSnapshot()).errorAs<ExchangeAPIError>(),
              ExchangeAPIError::invalidURL());
    EXPECT_EQ(test::runTask(bybit.testConnection()).errorAs<ExchangeAPIError>(),
              ExchangeAPIError::invalidURL());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(BybitProviderTest, ConnectionTestIsTheWalletCallAndItsEnvelope)
{
    EXPECT_TRUE(testConnection().succeeded());
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().front().path, walletPath);
    EXPECT_EQ(server.requests().front().query, "accountType=UNIFIED");

    server.serve("GET", walletPath,
                 LoopbackReply::json(200, envelope("10003", "", R"({"list":[]})")));
    EXPECT_EQ(connectionTestError(), ExchangeAPIError::api(u"Bybit 请求失败（10003）"_qs));

    server.serve("GET", walletPath, LoopbackReply::json(429, "{}"));
    EXPECT_EQ(connectionTestError(), ExchangeAPIError::rateLimited(60));
}

// ---- assembly rules without a network ------------------------------------------------------

TEST(BybitAssemblyTest, EnvelopeCheckTexts)
{
    EXPECT_NO_THROW(BybitProvider::validateReturnCode(0, u"OK"_qs));
    const struct {
        int code;
        QString message;
        QString expected;
    } refusals[] = {
        {10003, {}, u"Bybit 请求失败（10003）"_qs},
        {-1, {}, u"Bybit 请求失败（-1）"_qs},
        {110001, u"order not exists"_qs, u"order not exists"_qs},
    };
    for (const auto& refusal : refusals) {
        try {
            BybitProvider::validateReturnCode(refusal.code, refusal.message);
            ADD_FAILURE() << "code " << refusal.code << " passed";
        } catch (const ExchangeAPIError& error) {
            EXPECT_EQ(error, ExchangeAPIError::api(refusal.expected));
        }
    }
}

TEST(BybitAssemblyTest, WalletEdges)
{
    BybitReplies replies;
    replies.usdtPositions = BybitPositionResult{};
    replies.usdcPositions = BybitPositionResult{};
    const ExchangeProviderSnapshot empty = BybitProvider::assemble(replies);
    EXPECT_TRUE(empty.balances.empty());
    EXPECT_EQ(empty.account.accounts,
              (std::vector<AccountBreakdown>{{AccountType::trading, Decimal()},
                                             {AccountType::funding, Decimal()}}));
    EXPECT_EQ(empty.missingAccounts, std::set<AccountType>{AccountType::funding});
    EXPECT_FALSE(empty.positionsUnavailable);

    // No totalEquity: a trading breakdown of 0 while the coin is still listed.
    replies.wallet.list = {BybitWallet{std::nullopt, {{u"BTC"_qs, u"1"_qs, u"60000"_qs}}}};
    const ExchangeProviderSnapshot noEquity = BybitProvider::assemble(replies);
    EXPECT_EQ(noEquity.balances,
              std::vector<AssetBalance>{row(AccountType::trading, "BTC", "1", "60000")});
    EXPECT_EQ(noEquity.account.totalValue, Decimal());
}

TEST(BybitAssemblyTest, PositionSideSizeAndValueRules)
{
    const auto mapped = [](const char* side, std::optional<QString> size,
                           std::optional<QString> value) {
        BybitReplies replies;
        replies.usdtPositions = BybitPositionResult{
            {BybitPosition{u"XUSDT"_qs, QString::fromLatin1(side), std::move(size), u"10"_qs,
                           u"11"_qs, u"5"_qs, std::move(value)}}};
        return BybitProvider::assemble(replies).positions;
    };
    EXPECT_EQ(mapped("Sell", u"1"_qs, {}).at(0).side, PositionSide::short_);
    for (const char* side : {"SELL", "sell", "", "Buy", "None"}) {
        EXPECT_EQ(mapped(side, u"1"_qs, {}).at(0).side, PositionSide::long_) << side;
    }
    EXPECT_TRUE(mapped("Buy", std::nullopt, {}).empty());
    EXPECT_TRUE(mapped("Buy", u"0.000"_qs, {}).empty());
    EXPECT_EQ(mapped("Buy", u"2"_qs, {}).at(0).notionalValueUSD, std::optional<Decimal>(Decimal()));
    EXPECT_EQ(mapped("Buy", u"2"_qs, u"-22"_qs).at(0).notionalValueUSD, dec("22"));
    EXPECT_EQ(mapped("Buy", u"2"_qs, {}).at(0).pnlPercent, dec("25"));
}

}  // namespace
}  // namespace vantrell
