// Connectors and their requests outliving whoever started them: a fetch whose provider and
// task are dropped while its requests are in flight must run to its end when the replies come
// (or when the connections drop), touch nothing that is gone and leave nothing behind. The
// sanitizer build turns any use of a freed frame or object into a failure, and any coroutine
// frame that never ends into a leak.

#include "networking/ExchangeHTTPClient.h"
#include "networking/NetworkHttpTransport.h"
#include "platform/MemoryDefaultsStore.h"
#include "security/AdditionalExchangeAccount.h"
#include "security/LocalCredentialStore.h"
#include "store/ConfiguredProviders.h"

#include "support/ExchangeAPIErrorPrinter.h"
#include "support/HoldingHttpTransport.h"
#include "support/LoopbackExchanges.h"
#include "support/LoopbackServer.h"
#include "support/ManualClock.h"
#include "support/SpinUntil.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QNetworkAccessManager>

#include <algorithm>
#include <memory>
#include <vector>

namespace vantrell {
namespace {

using namespace std::chrono_literals;

// Qt's network manager opens at most this many connections to one host; further requests to
// it wait in its queue until one is free.
constexpr qsizetype connectionsPerHost = 6;

const QString extraAccount = u"0D7C5B3A-1E2F-4A6B-9C8D-7E6F5A4B3C2D"_qs;

LoopbackExchanges::Credentials credentialsOf(Exchange exchange)
{
    const QString name = toStored(exchange);
    return {u"key-"_qs + name, u"secret-"_qs + name, u"pass-"_qs + name};
}

struct Row {
    const char* name;
    Exchange exchange;
    // The store's provider over the main and an additional account, instead of one connector.
    bool multiAccount;
    // The required calls that are awaited first: a refusal there ends the fetch at once.
    std::vector<QByteArray> firstAwaitedPaths;
};

void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.name;
}

const std::vector<Row> rows = {
    {"Binance", Exchange::binance, false, {"/api/v3/account"}},
    {"OKX", Exchange::okx, false, {"/api/v5/account/balance"}},
    {"Bybit", Exchange::bybit, false, {"/v5/account/wallet-balance"}},
    // The classic account is tried once the unified one is refused.
    {"Bitget", Exchange::bitget, false, {"/api/v3/account/assets", "/api/v2/spot/account/assets"}},
    {"Gate", Exchange::gateio, false, {"/api/v4/spot/accounts"}},
    {"OKXTwoAccounts", Exchange::okx, true, {"/api/v5/account/balance"}},
};

class ConnectorLifetimeTest : public ::testing::TestWithParam<Row> {
protected:
    ConnectorLifetimeTest()
    {
        const Row& row = GetParam();
        LocalCredentialStore main(defaults);
        exchanges.accept(row.exchange, credentialsOf(row.exchange));
        EXPECT_TRUE(LoopbackExchanges::store(main, row.exchange, credentialsOf(row.exchange)));
        if (row.multiAccount) {
            LocalCredentialStore extra = main.forAccount(extraAccount);
            LoopbackExchanges::Credentials other = credentialsOf(row.exchange);
            other.secretKey += u"-extra"_qs;
            exchanges.accept(row.exchange, other);
            EXPECT_TRUE(LoopbackExchanges::store(extra, row.exchange, other));
            EXPECT_TRUE(main.saveAccount({extraAccount, row.exchange, u"副账户"_qs}));
        }
    }

    ~ConnectorLifetimeTest() override
    {
        // Whatever a failed case left running ends here, before the servers go.
        exchanges.closeAll();
        EXPECT_TRUE(transport.drain());
    }

    std::shared_ptr<const ExchangeProvider> provider()
    {
        const LocalCredentialStore credentials(defaults);
        if (!GetParam().multiAccount) {
            return exchanges.providerFactory()(credentials, GetParam().exchange);
        }
        const auto providers =
            ConfiguredProviders::providers(credentials, exchanges.providerFactory(), {});
        return providers.size() == 1 ? providers.front() : nullptr;
    }

    // Starts a snapshot and a connection test, then drops both tasks and the provider: from
    // here on only the requests in flight keep the work alive.
    void startAndDrop()
    {
        std::shared_ptr<const ExchangeProvider> connector = provider();
        ASSERT_NE(connector, nullptr);
        {
            QCoro::Task<ExchangeProviderSnapshot> fetch = connector->fetchSnapshot();
            QCoro::Task<void> test = connector->testConnection();
        }
        connector.reset();
        ASSERT_GT(transport.started(), 0);
    }

    ExchangeFixtureServer& server() { return exchanges.server(GetParam().exchange); }
    // Every request started has reached the server, or waits for a free connection.
    bool allArrived()
    {
        return server().requests().size() ==
               std::min<qsizetype>(transport.started(), connectionsPerHost);
    }

    MemoryDefaultsStore defaults;
    ManualClock clock;
    HoldingHttpTransport transport{NetworkHttpTransport::shared()};
    LoopbackExchanges exchanges{transport, clock};
};

TEST_P(ConnectorLifetimeTest, RepliesReachAFetchWhoseOwnerIsGone)
{
    transport.setHolding(true);
    startAndDrop();
    // Every reply has come back; each waits in its coroutine until released.
    ASSERT_TRUE(test::spinUntil([this] {
        return transport.inFlight() > 0 && transport.heldCount() == transport.inFlight();
    }));

    EXPECT_TRUE(transport.drain());
    EXPECT_EQ(server().requests().size(), transport.started());
    EXPECT_EQ(server().rejectedCount(), 0);
}

TEST_P(ConnectorLifetimeTest, SilentServerClosingEndsAFetchWhoseOwnerIsGone)
{
    exchanges.silence(GetParam().exchange);
    startAndDrop();
    ASSERT_TRUE(test::spinUntil([this] { return allArrived(); }));
    EXPECT_EQ(transport.inFlight(), transport.started());

    exchanges.closeAll();
    EXPECT_TRUE(transport.drain());
}

TEST_P(ConnectorLifetimeTest, RefusedFirstCallCancelsTheRestOfAFetchWhoseOwnerIsGone)
{
    exchanges.silence(GetParam().exchange);
    for (const QByteArray& path : GetParam().firstAwaitedPaths) {
        server().serve("GET", path, LoopbackReply::json(401, R"({"msg":"key revoked"})"));
    }
    startAndDrop();

    // The servers stay open: only the fan-out's cancel can end the silent requests, long before
    // the transfer time-out.
    EXPECT_TRUE(transport.drain(5s));
    EXPECT_GT(server().requests().size(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryConnector, ConnectorLifetimeTest, ::testing::ValuesIn(rows),
                         [](const auto& info) { return std::string(info.param.name); });

// A request's cancel token and its caller, dropped around the transfer.
class RequestCancellationTest : public ::testing::Test {
protected:
    using Strings = std::vector<QString>;

    RequestCancellationTest()
    {
        server.route("GET", "/silent", LoopbackReply::never());
        server.route("GET", "/answered", LoopbackReply::json(200, R"(["ok"])"));
    }

    ~RequestCancellationTest() override
    {
        server.close();
        EXPECT_TRUE(transport.drain());
    }

    HttpRequest get(const QString& path, std::shared_ptr<CancellationToken> token) const
    {
        HttpRequest request;
        request.url = server.url(path);
        request.cancellation = std::move(token);
        return request;
    }

    bool answeredStillWorks()
    {
        const auto result = test::runTask(client.send<Strings>(get(u"/answered"_qs, nullptr)));
        return result.value == Strings{u"ok"_qs};
    }

    LoopbackServer server;
    QNetworkAccessManager manager;
    NetworkHttpTransport network{manager};
    HoldingHttpTransport transport{network};
    PublicMarketCache cache;
    ManualClock clock;
    ExchangeHTTPClient client{transport, cache, clock};
};

TEST_F(RequestCancellationTest, CancelledMidFlightWithTokenAndCallerGone)
{
    auto token = CancellationToken::create();
    {
        QCoro::Task<Strings> dropped = client.send<Strings>(get(u"/silent"_qs, token));
    }
    ASSERT_TRUE(test::spinUntil([this] { return server.requests().size() == 1; }));

    token->cancel();
    token.reset();
    EXPECT_TRUE(transport.drain(5s));  // the server never answers: only the abort ends it
    EXPECT_TRUE(answeredStillWorks());
}

TEST_F(RequestCancellationTest, AbortedTransfersHandTheirConnectionsToQueuedRequests)
{
    auto token = CancellationToken::create();
    std::vector<QCoro::Task<Strings>> silent;
    for (qsizetype i = 0; i < connectionsPerHost; ++i) {
        silent.push_back(client.send<Strings>(get(u"/silent"_qs, token)));
    }
    HttpRequest queued = get(u"/answered"_qs, nullptr);
    queued.timeout = 3s;  // fails here, instead of passing late, when it waited for nothing
    QCoro::Task<Strings> answered = client.send<Strings>(std::move(queued));
    ASSERT_TRUE(test::spinUntil([this] { return server.requests().size() == connectionsPerHost; }));

    token->cancel();
    EXPECT_EQ(test::runTask(std::move(answered)).value, Strings{u"ok"_qs});
    for (QCoro::Task<Strings>& task : silent) {
        EXPECT_EQ(test::runTask(std::move(task)).errorAs<ExchangeAPIError>(),
                  ExchangeAPIError::network());
    }
}

TEST_F(RequestCancellationTest, CancelRacingTheReply)
{
    // The cancel comes as the server writes its reply: either may win, neither may crash.
    auto token = CancellationToken::create();
    QObject::connect(&server, &LoopbackServer::requestReceived, &server, [&token] {
        if (token) {
            token->cancel();
            token.reset();
        }
    });
    const auto result = test::runTask(client.send<Strings>(get(u"/answered"_qs, token)));
    EXPECT_EQ(result.errorAs<ExchangeAPIError>(), ExchangeAPIError::network());
    EXPECT_EQ(token, nullptr);
}

TEST_F(RequestCancellationTest, TokenCancelledLongAfterItsRequestEnded)
{
    auto token = CancellationToken::create();
    EXPECT_TRUE(test::runTask(client.send<Strings>(get(u"/answered"_qs, token))).succeeded());
    // The reply is deleted by now; a cancel must not reach it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    token->cancel();
    QCoreApplication::processEvents();
    EXPECT_TRUE(answeredStillWorks());
}

TEST_F(RequestCancellationTest, TokenDroppedUncancelledWhileTheRequestWaits)
{
    auto token = CancellationToken::create();
    auto task = client.send<Strings>(get(u"/silent"_qs, token));
    token.reset();
    ASSERT_TRUE(test::spinUntil([this] { return server.requests().size() == 1; }));

    server.close();
    EXPECT_EQ(test::runTask(std::move(task)).errorAs<ExchangeAPIError>(),
              ExchangeAPIError::network());
}

}  // namespace
}  // namespace vantrell
