// The running program's cost per refresh cycle: the application's objects (store, transport,
// scenes) refreshing seven accounts on the five exchanges, served over loopback TLS with gzip
// replies of full size, beside the connectors' own work on the same replies in-process.
//
//   refreshCycle/windowsClosed   the main window was shown once and closed again
//   refreshCycle/overviewOpen    the main window shows the overview
//   connectorsInProcess          the seven connectors over the same bodies, no network
//
// keepAlive:1 keeps connections open between requests, as the exchanges' servers do; keepAlive:0
// makes a new connection, with its TLS handshake, for every request. release:0 leaves out giving
// the cycle's freed memory back after it (the memory against the page faults of the next cycle).
//
// CPU times are the whole process's (every thread: the network stack's and the disk writer's
// too). The exchanges are served by a child process, so their TLS and gzip work is not counted.
// "rss_MiB" is the resident memory when the run ends; the closed-window run goes first.

#include "ResidentMemory.h"
#include "app/IdleMemoryRelease.h"
#include "files/PortfolioDiskWriter.h"
#include "models/Clock.h"
#include "networking/NetworkHttpTransport.h"
#include "networking/PublicMarketCache.h"
#include "platform/AllocatorTuning.h"
#include "platform/MemoryDefaultsStore.h"
#include "platform/SettingsDefaultsStore.h"
#include "platform/SupportFolder.h"
#include "providers/BinanceProvider.h"
#include "providers/BitgetProvider.h"
#include "providers/BybitProvider.h"
#include "providers/GateProvider.h"
#include "providers/OKXProvider.h"
#include "security/ConnectorFactory.h"
#include "security/LocalCredentialStore.h"
#include "services/NullUpdateUserDriver.h"
#include "services/ReferralLinkStore.h"
#include "services/UpdateChecker.h"
#include "settings/AppSettings.h"
#include "settings/ReferenceRates.h"
#include "settings/ViewPreferences.h"
#include "store/PortfolioStore.h"
#include "support/FakeHttpTransport.h"
#include "support/LoopbackExchanges.h"
#include "support/LoopbackServer.h"
#include "support/RecordingNotifier.h"
#include "views/kit/WindowAppearanceBridge.h"
#include "window/FloatingWindowController.h"
#include "window/SceneContents.h"
#include "window/SceneHost.h"
#include "window/SceneRegistry.h"

#include "BenchTransport.h"
#include "GeneratedExchangeReplies.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <malloc.h>

#include <map>
#include <memory>
#include <vector>

using namespace vantrell;

namespace {

constexpr int historyPoints = 90 * 288;  // 90 days, one point every 300 s

using bench::residentKiB;

bench::RecordedReplies repliesOf(Exchange exchange)
{
    switch (exchange) {
        case Exchange::binance:
            return bench::generated::binanceReplies();
        case Exchange::okx:
            return bench::generated::okxReplies();
        case Exchange::bybit:
            return bench::generated::bybitReplies();
        case Exchange::bitget:
            return bench::generated::bitgetReplies();
        case Exchange::gateio:
            return bench::generated::gateReplies();
    }
    return {};
}

// Exchanges with a second account: seven accounts in all.
bool hasSecondAccount(Exchange exchange)
{
    return exchange == Exchange::binance || exchange == Exchange::okx;
}

// The server's side ---------------------------------------------------------------------------

QByteArray gzip(const QByteArray& body)
{
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(body.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.constData()));
    stream.avail_in = uInt(body.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// Answers every path of the exchange's replies, by "path?query" first, then by path alone.
std::unique_ptr<LoopbackServer> serverOf(Exchange exchange, bool keepAlive)
{
    auto server = std::make_unique<LoopbackServer>(LoopbackServer::Scheme::https);
    server->setKeepAlive(keepAlive);
    auto bodies = std::make_shared<std::map<QByteArray, QByteArray>>();
    for (const auto& [key, body] : repliesOf(exchange)) {
        bodies->emplace(key.toUtf8(), gzip(body));
    }
    const auto answer = [bodies](const RecordedRequest& request) {
        auto found = bodies->find(request.path + '?' + request.query);
        if (found == bodies->end()) {
            found = bodies->find(request.path);
        }
        if (found == bodies->end()) {
            return LoopbackReply::json(404, R"({"msg":"no route"})");
        }
        LoopbackReply reply = LoopbackReply::json(200, found->second);
        return reply.withHeader("Content-Encoding", "gzip");
    };
    for (const auto& [key, body] : *bodies) {
        const QByteArray path = key.left(key.indexOf('?') < 0 ? key.size() : key.indexOf('?'));
        server->route("GET", path, answer);
        server->route("POST", path, answer);
    }
    return server;
}

// Serves the five exchanges twice until killed, once keeping connections alive and once closing
// each after its reply; prints "keepAlive exchange port" lines, then "ready".
int serve()
{
    std::vector<std::unique_ptr<LoopbackServer>> servers;
    QTextStream out(stdout);
    for (const bool keepAlive : {true, false}) {
        for (Exchange exchange : allExchanges) {
            servers.push_back(serverOf(exchange, keepAlive));
            out << int(keepAlive) << ' ' << int(exchange) << ' ' << servers.back()->port() << '\n';
        }
    }
    out << "ready\n";
    out.flush();
    return QCoreApplication::exec();
}

// The program's side --------------------------------------------------------------------------

void trustLoopbackCertificate()
{
    QFile file(QStringLiteral(VANTRELL_FIXTURES_DIR "/tls/loopback-cert.pem"));
    file.open(QIODevice::ReadOnly);
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificate(QSslCertificate(file.readAll()));
    QSslConfiguration::setDefaultConfiguration(configuration);
}

// The child process that plays the exchanges, and where each one listens.
struct ExchangeServers {
    ExchangeServers()
    {
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--serve")});
        while (child.waitForReadyRead(30000) || child.canReadLine()) {
            while (child.canReadLine()) {
                const QList<QByteArray> fields = child.readLine().trimmed().split(' ');
                if (fields.size() == 1 && fields[0] == "ready") {
                    return;
                }
                const auto exchange = static_cast<Exchange>(fields.value(1).toInt());
                (fields.value(0) == "1" ? keptAlive : closing)[exchange] =
                    QStringLiteral("https://127.0.0.1:") + QString::fromLatin1(fields.value(2));
            }
        }
    }
    ~ExchangeServers()
    {
        child.kill();
        child.waitForFinished();
    }

    QProcess child;
    std::map<Exchange, QString> keptAlive;  // connections stay open, as the exchanges' do
    std::map<Exchange, QString> closing;    // a new connection (and handshake) per request
};

std::vector<PortfolioValuePoint> ninetyDays(Date now)
{
    std::vector<PortfolioValuePoint> points;
    points.reserve(historyPoints);
    for (int i = historyPoints; i > 0; --i) {
        points.push_back({now.addingSeconds(-300.0 * i), Decimal(30000 + (i % 977))});
    }
    return points;
}

LoopbackExchanges::Credentials keysOf(Exchange exchange, const QString& account)
{
    return {caseName(exchange) + u"-key-"_qs + account,
            caseName(exchange) + u"-secret-"_qs + account, caseName(exchange) + u"-pass"_qs};
}

// The main account of every exchange and a second one on Binance and OKX.
void storeCredentials(DefaultsStore& defaults)
{
    LocalCredentialStore main(defaults);
    for (Exchange exchange : allExchanges) {
        LoopbackExchanges::store(main, exchange, keysOf(exchange, u"main"_qs));
        if (hasSecondAccount(exchange)) {
            const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
            LocalCredentialStore second(defaults, id);
            LoopbackExchanges::store(second, exchange, keysOf(exchange, id));
            main.saveAccount({id, exchange, u"副账户"_qs});
        }
    }
}

// The connectors talk to the servers `*servers` points at when they are made.
ProviderFactory connectorsAt(std::shared_ptr<const std::map<Exchange, QString>*> servers)
{
    return [servers](const LocalCredentialStore& credentials, Exchange exchange) {
        return ConnectorFactory(ExchangeEndpoints::allAt((*servers)->at(exchange)),
                                NetworkHttpTransport::shared())
            .provider(exchange, credentials);
    };
}

// Everything the application makes, as Application makes it, over loopback exchanges, a
// defaults file and a data folder of its own; the side services (rates, updates, links) get a
// fake transport.
struct RunningProgram {
    explicit RunningProgram(const ExchangeServers& servers)
        : servers(servers),
          target(std::make_shared<const std::map<Exchange, QString>*>(&servers.keptAlive)),
          services(defaults, Clock::system(), notifier, SupportFolder(folder.path())),
          settings(defaults, sideTransport, Clock::system()),
          floating(defaults),
          checker(UpdaterEnvironment{sideTransport, defaults, Clock::system(), driver, QUrl()}),
          referrals(defaults, sideTransport, QUrl()),
          preferences(defaults)
    {
        sideTransport.fail("GET", ReferenceRates::dailyUrl().path());
        storeCredentials(defaults);
        services.writer = &writer;
        store =
            std::make_unique<PortfolioStore>(LocalCredentialStore(defaults), connectorsAt(target),
                                             services, false, ninetyDays(Clock::system().now()));
        idleMemoryRelease =
            std::make_unique<IdleMemoryRelease>(*store, std::chrono::milliseconds(0), [this] {
                if (releasesMemory) {
                    IdleMemoryRelease::releaseAll();
                }
            });
        const MainWindowObjects objects{*store,    floating,    settings, checker,
                                        referrals, preferences, notifier, defaults};
        // With the tray, as the program runs: the popover exists, hidden, from the start.
        scenes =
            std::make_unique<SceneRegistry>(objects, SceneContents::standard(), defaults, true);
    }

    SceneHost& mainWindow() { return *scenes->window(SceneRegistry::mainSceneId); }
    void useConnections(bool keptAlive)
    {
        *target = keptAlive ? &servers.keptAlive : &servers.closing;
    }

    // One cycle with fresh tickers, and everything it leaves for the disk and the event loop:
    // its file writes, its renders and then the memory given back.
    void refresh()
    {
        PublicMarketCache::shared().clear();
        QCoro::waitFor(store->refreshNow(true));
        writer.flush();
        for (int turn = 0; turn < 3; ++turn) {
            QCoreApplication::processEvents();
        }
    }

    const ExchangeServers& servers;
    std::shared_ptr<const std::map<Exchange, QString>*> target;
    QTemporaryDir folder;
    SettingsDefaultsStore defaults{folder.filePath(u"Vantrell.conf"_qs)};  // as the program's
    FakeHttpTransport sideTransport;
    RecordingNotifier notifier;
    PortfolioDiskWriter writer;
    PortfolioStore::Services services;
    std::unique_ptr<PortfolioStore> store;
    AppSettings settings;
    FloatingWindowController floating;
    NullUpdateUserDriver driver;
    UpdateChecker checker;
    ReferralLinkStore referrals;
    ViewPreferences preferences;
    std::unique_ptr<SceneRegistry> scenes;
    // As the program does it, without the wait: the cycle's writes are flushed already.
    std::unique_ptr<IdleMemoryRelease> idleMemoryRelease;
    bool releasesMemory = true;
};

// Whether the last cycle brought every exchange in.
bool allConnected(const PortfolioStore& store)
{
    for (Exchange exchange : allExchanges) {
        if (store.status(exchange).state.kind != ExchangeRefreshStatus::State::Kind::connected) {
            return false;
        }
    }
    return true;
}

void measureCycles(benchmark::State& state, RunningProgram& program)
{
    program.refresh();
    if (!allConnected(*program.store)) {
        state.SkipWithError("an exchange did not connect");
        return;
    }
    for (auto _ : state) {
        program.refresh();
    }
    state.counters["rss_MiB"] = double(residentKiB()) / 1024.0;
    // What of it the allocator holds: in use, and freed but still mapped.
    const struct mallinfo2 heap = mallinfo2();
    state.counters["heapUsed_MiB"] = double(heap.uordblks + heap.hblkhd) / 1048576.0;
    state.counters["heapFree_MiB"] = double(heap.fordblks) / 1048576.0;
}

void windowsClosed(benchmark::State& state, RunningProgram& program)
{
    program.useConnections(state.range(0) != 0);
    program.releasesMemory = state.range(1) != 0;
    program.scenes->openWindow(SceneRegistry::mainSceneId);
    QCoreApplication::processEvents();
    program.mainWindow().window()->close();
    QCoreApplication::processEvents();
    measureCycles(state, program);
}

void overviewOpen(benchmark::State& state, RunningProgram& program)
{
    program.useConnections(state.range(0) != 0);
    program.releasesMemory = true;
    program.scenes->openWindow(SceneRegistry::mainSceneId);
    QCoreApplication::processEvents();
    measureCycles(state, program);
    program.mainWindow().window()->close();
}

// The seven connectors over the same bodies, answered in-process at once.
void connectorsInProcess(benchmark::State& state)
{
    const bench::RecordedReplies replies = bench::generated::fiveExchangeReplies();
    bench::RecordedTransport transport(replies);
    MemoryDefaultsStore defaults;
    storeCredentials(defaults);
    const ExchangeEndpoints endpoints = ExchangeEndpoints::allAt(u"https://bench.example"_qs);
    const LocalCredentialStore main(defaults);
    std::vector<std::shared_ptr<const ExchangeProvider>> providers;
    for (Exchange exchange : allExchanges) {
        for (const auto& connection : ConfiguredProviders::connections(
                 main,
                 [&](const LocalCredentialStore&credentials, Exchange e) {
                     return ConnectorFactory(endpoints, transport).provider(e, credentials);
                 },
                 exchange)) {
            providers.push_back(connection.provider);
        }
    }
    for (auto _ : state) {
        PublicMarketCache::shared().clear();
        std::vector<QCoro::Task<ExchangeProviderSnapshot>> fetches;
        for (const auto& provider : providers) {
            fetches.push_back(provider->fetchSnapshot());
        }
        for (auto& fetch : fetches) {
            benchmark::DoNotOptimize(QCoro::waitFor(std::move(fetch)));
        }
    }
    state.counters["accounts"] = double(providers.size());
}

}  // namespace

int main(int argc, char** argv)
{
    tuneAllocatorForLongRunningProcess();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 2 && QByteArray(argv[1]) == "--serve") {
        QCoreApplication app(argc, argv);
        return serve();
    }
    QApplication app(argc, argv);
    WindowAppearanceBridge::installStyle();
    trustLoopbackCertificate();
    ExchangeServers servers;
    RunningProgram program(servers);
    benchmark::RegisterBenchmark("refreshCycle/windowsClosed",
                                 [&](benchmark::State& state) { windowsClosed(state, program); })
        ->ArgNames({"keepAlive", "release"})
        ->Args({1, 1})
        ->Args({1, 0})
        ->Args({0, 1})
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime()
        ->Iterations(30);
    benchmark::RegisterBenchmark("refreshCycle/overviewOpen",
                                 [&](benchmark::State& state) { overviewOpen(state, program); })
        ->ArgName("keepAlive")
        ->Arg(1)
        ->Arg(0)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime()
        ->Iterations(30);
    benchmark::RegisterBenchmark("connectorsInProcess", connectorsInProcess)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
