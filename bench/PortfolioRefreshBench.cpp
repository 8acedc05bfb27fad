#include "files/PortfolioDiskWriter.h"
#include "models/JsonReader.h"
#include "models/JsonValue.h"
#include "networking/NetworkHttpTransport.h"
#include "platform/MemoryDefaultsStore.h"
#include "platform/NullNotifier.h"
#include "security/ConnectorFactory.h"
#include "security/LocalCredentialStore.h"
#include "store/PortfolioStore.h"

#include "support/BitgetFixtureSignature.h"
#include "support/BybitFixtureSignature.h"
#include "support/ExchangeFixtureServer.h"
#include "support/FixtureSignatures.h"
#include "support/GateFixtureSignature.h"
#include "support/ManualClock.h"
#include "support/OKXFixtureSignature.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One whole refresh cycle of the portfolio store: five exchanges with two accounts each, every
// request going over the real network stack to a loopback fixture server per exchange host
// (Binance has two), which checks the signature and answers with the recorded replies.
//
// The first measurement answers at once and reports the main thread's CPU time per refresh:
// the store, the connectors, decoding and valuation, but also the fixture servers, which run in
// the same event loop. The second delays every reply by 100 ms and reports the wall time beside
// the ideal, the longest chain of requests that wait for one another: every connector sends all
// of its requests at once (Bitget's unified path answers, so its classic path is never tried)
// and the accounts and exchanges run side by side, so that chain is one request long.

namespace {

using namespace vantrell;
using namespace std::chrono_literals;

constexpr auto fixtureDelay = 100ms;
constexpr int longestRequestChain = 1;

struct Host {
    std::string name;
    std::unique_ptr<ExchangeFixtureServer> server;
};

struct Account {
    std::vector<std::pair<CredentialField, QString>> credentials;
    Exchange exchange;
};

std::vector<Account> accounts()
{
    return {
        {{{CredentialField::binanceAPIKey, u"fixture-key"_qs},
          {CredentialField::binanceSecretKey, u"fixture-secret"_qs}},
         Exchange::binance},
        {{{CredentialField::okxAPIKey, u"fixture-key"_qs},
          {CredentialField::okxSecretKey, u"okx-secret"_qs},
          {CredentialField::okxPassphrase, u"okx-pass"_qs}},
         Exchange::okx},
        {{{CredentialField::bybitAPIKey, u"bybit-key"_qs},
          {CredentialField::bybitSecretKey, u"bybit-secret"_qs}},
         Exchange::bybit},
        {{{CredentialField::bitgetAPIKey, u"bitget-key"_qs},
          {CredentialField::bitgetSecretKey, u"bitget-secret"_qs},
          {CredentialField::bitgetPassphrase, u"bitget-pass"_qs}},
         Exchange::bitget},
        {{{CredentialField::gateAPIKey, u"gate-key"_qs},
          {CredentialField::gateSecretKey, u"gate-secret"_qs}},
         Exchange::gateio},
    };
}

// Serves every route of the folder's routes.json again, each reply held back by `delay`.
void serveDelayed(ExchangeFixtureServer& server, const QString& folder,
                  std::chrono::milliseconds delay)
{
    const JsonValue routes =
        JsonReader::parse(ExchangeFixtureServer::fixture(folder + u"/routes.json"_qs));
    for (const JsonValue& route : routes.items()) {
        const QByteArray method = QByteArray::fromStdString(route.find("method")->text());
        const QByteArray path = QByteArray::fromStdString(route.find("path")->text());
        const LoopbackReply reply =
            LoopbackReply::json(
                200, ExchangeFixtureServer::fixture(
                         folder + u'/' + QString::fromStdString(route.find("file")->text())))
                .delayedBy(delay);
        if (const JsonValue* query = route.find("query")) {
            server.serve(method, path, QByteArray::fromStdString(query->text()), reply);
        } else {
            server.serve(method, path, reply);
        }
    }
}

// The servers, the credentials of ten accounts and a store that only refreshes when asked.
class RefreshWorld {
public:
    explicit RefreshWorld(std::chrono::milliseconds delay)
    {
        ExchangeEndpoints endpoints;
        endpoints.binanceSpot =
            host(u"binance"_qs, FixtureSignatures::binance(u"fixture-key"_qs, u"fixture-secret"_qs),
                 delay, "binance-spot");
        endpoints.binanceFutures =
            host(u"binance"_qs, FixtureSignatures::binance(u"fixture-key"_qs, u"fixture-secret"_qs),
                 delay, "binance-futures");
        endpoints.okx =
            host(u"okx"_qs,
                 okxFixtureSignature(u"fixture-key"_qs, u"okx-secret"_qs, u"okx-pass"_qs), delay);
        endpoints.bybit =
            host(u"bybit"_qs, bybitFixtureSignature(u"bybit-key"_qs, u"bybit-secret"_qs), delay);
        endpoints.bitget =
            host(u"bitget"_qs,
                 bitgetFixtureSignature(u"bitget-key"_qs, u"bitget-secret"_qs, u"bitget-pass"_qs),
                 delay);
        endpoints.gate =
            host(u"gate"_qs, gateFixtureSignature(u"gate-key"_qs, u"gate-secret"_qs), delay);
        m_factory =
            std::make_unique<ConnectorFactory>(endpoints, NetworkHttpTransport::shared(), m_clock);
        configureAccounts();

        PortfolioStore::Services services(m_defaults, m_clock, m_notifier,
                                          SupportFolder(m_folder.path()));
        services.writer = &m_writer;
        services.timeZone = QTimeZone(QByteArrayLiteral("UTC"));
        const ConnectorFactory* factory = m_factory.get();
        m_store = std::make_unique<PortfolioStore>(
            LocalCredentialStore(m_defaults),
            [factory](const LocalCredentialStore& credentials, Exchange exchange) {
                return factory->provider(exchange, credentials);
            },
            std::move(services), false);
    }

    // One forced cycle with nothing cached from the cycle before, a refresh interval later.
    void refresh()
    {
        ExchangeFixtureServer::resetCache();
        m_clock.advance(m_store->refreshInterval());
        QCoro::waitFor(m_store->refreshNow(true));
    }

    bool allConnected() const
    {
        const std::vector<Exchange> configured = m_store->configuredExchanges();
        return configured.size() == 5 &&
               std::all_of(configured.begin(), configured.end(), [this](Exchange exchange) {
                   return m_store->status(exchange).state ==
                          ExchangeRefreshStatus::State::connected();
               });
    }

    qsizetype requests() const
    {
        qsizetype count = 0;
        for (const Host& host : m_hosts) {
            count += host.server->requests().size();
        }
        return count;
    }

    // Requests received so far per host.
    std::map<std::string, qsizetype> hostRequests() const
    {
        std::map<std::string, qsizetype> counts;
        for (const Host& host : m_hosts) {
            counts[host.name] = host.server->requests().size();
        }
        return counts;
    }

private:
    QString host(const QString& folder, SignatureCheck signature, std::chrono::milliseconds delay,
                 std::string name = {})
    {
        auto server = std::make_unique<ExchangeFixtureServer>(std::move(signature));
        server->serveRecorded(folder);
        if (delay.count() > 0) {
            serveDelayed(*server, folder, delay);
        }
        const QString url = server->baseURL();
        m_hosts.push_back({name.empty() ? folder.toStdString() : name, std::move(server)});
        return url;
    }

    // The main account and one more of every exchange; the exchange checks only the key, so
    // both use the same one.
    void configureAccounts()
    {
        LocalCredentialStore main(m_defaults);
        for (const Account& account : accounts()) {
            const QString id = AdditionalExchangeAccount::newID();
            LocalCredentialStore extra(m_defaults, id);
            for (const auto& [field, value] : account.credentials) {
                main.setValue(value, field);
                extra.setValue(value, field);
            }
            main.saveAccount({id, account.exchange, u"第二账户"_qs});
        }
    }

    std::vector<Host> m_hosts;
    MemoryDefaultsStore m_defaults;
    ManualClock m_clock;
    NullNotifier m_notifier;
    QTemporaryDir m_folder;
    PortfolioDiskWriter m_writer;
    std::unique_ptr<ConnectorFactory> m_factory;
    std::unique_ptr<PortfolioStore> m_store;
};

void measure(benchmark::State& state, std::chrono::milliseconds delay)
{
    RefreshWorld world(delay);
    world.refresh();
    if (!world.allConnected()) {
        state.SkipWithError("a refresh against the fixtures did not connect every exchange");
        return;
    }
    const qsizetype before = world.requests();
    const std::map<std::string, qsizetype> hostsBefore = world.hostRequests();
    for (auto _ : state) {
        world.refresh();
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["requests"] = static_cast<double>(world.requests() - before) / iterations;
    for (const auto& [host, count] : world.hostRequests()) {
        state.counters[host] = static_cast<double>(count - hostsBefore.at(host)) / iterations;
    }
    if (delay.count() > 0) {
        state.counters["ideal_ms"] = static_cast<double>(longestRequestChain * delay.count());
    }
}

void BM_PortfolioRefreshNoDelay(benchmark::State& state)
{
    measure(state, 0ms);
}
BENCHMARK(BM_PortfolioRefreshNoDelay)->Unit(benchmark::kMillisecond);

void BM_PortfolioRefresh100msReplies(benchmark::State& state)
{
    measure(state, fixtureDelay);
}
BENCHMARK(BM_PortfolioRefresh100msReplies)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
