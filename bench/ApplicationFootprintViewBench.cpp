// The program's start and resting memory, each beside an empty Qt widget program measured in the
// same run. Not a Google Benchmark suite: both figures need fresh processes.
//
//   ApplicationFootprintViewBench [runs]
//
// Seeds a data folder with a 90-day value history (one point every 300 s) and the cache of a
// five-exchange snapshot, then starts itself `runs` times (default 5) in each of two roles:
//   --program DIR  the application's objects and scenes over DIR with fake exchanges: reports
//                  when the main window is shown, then closes it, runs 100 refreshes and reports
//                  its resident memory;
//   --baseline     an empty QWidget: reports when it is shown and its resident memory.
// Start time is measured from just before the process is spawned to the window being shown
// (offscreen platform, so no display server is involved). Medians are printed.

#include "ResidentMemory.h"
#include "files/PortfolioDiskWriter.h"
#include "models/Clock.h"
#include "platform/AllocatorTuning.h"
#include "platform/MemoryDefaultsStore.h"
#include "services/NullUpdateUserDriver.h"
#include "services/ReferralLinkStore.h"
#include "services/UpdateChecker.h"
#include "settings/AppSettings.h"
#include "settings/ReferenceRates.h"
#include "settings/ViewPreferences.h"
#include "store/PortfolioStore.h"
#include "support/FakeExchangeProvider.h"
#include "support/FakeHttpTransport.h"
#include "support/RecordingNotifier.h"
#include "views/kit/WindowAppearanceBridge.h"
#include "window/FloatingPanel.h"
#include "window/FloatingWindowController.h"
#include "window/SceneContents.h"
#include "window/SceneHost.h"
#include "window/SceneRegistry.h"

#include <QApplication>
#include <QCoroTask>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <map>
#include <memory>
#include <vector>

using namespace vantrell;

namespace {

constexpr int refreshCount = 100;
constexpr double historySpacing = 300;
constexpr int historyPoints = 90 * 288;

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

using bench::residentKiB;

// Five exchanges, each with a spot and a futures account and a few assets.
ProviderFactory fakeExchanges()
{
    auto providers = std::make_shared<std::map<Exchange, std::shared_ptr<FakeExchangeProvider>>>();
    int index = 1;
    for (Exchange exchange : allExchanges) {
        const Decimal total = Decimal(index * 2500);
        ExchangeProviderSnapshot snapshot;
        snapshot.account = {exchange, total, std::nullopt, {{AccountType::spot, total}}};
        for (const char* asset : {"USDT", "BTC", "ETH", "SOL"}) {
            snapshot.balances.push_back({std::nullopt, std::nullopt, exchange, AccountType::spot,
                                         QString::fromLatin1(asset), Decimal(index),
                                         Decimal(index * 100)});
        }
        auto provider = std::make_shared<FakeExchangeProvider>(exchange);
        provider->setSnapshot(snapshot);
        (*providers)[exchange] = provider;
        ++index;
    }
    return [providers](const LocalCredentialStore&, Exchange exchange) {
        return std::shared_ptr<const ExchangeProvider>((*providers)[exchange]);
    };
}

std::vector<PortfolioValuePoint> ninetyDays(Date now)
{
    std::vector<PortfolioValuePoint> points;
    points.reserve(historyPoints);
    for (int i = historyPoints; i > 0; --i) {
        points.push_back({now.addingSeconds(-historySpacing * i), Decimal(30000 + (i % 977))});
    }
    return points;
}

// Everything the application makes, over a data folder and fake exchanges.
struct Program {
    explicit Program(const QString& folder, bool loadOnly = true)
        : services(defaults, Clock::system(), notifier, SupportFolder(folder))
    {
        transport.fail("GET", ReferenceRates::dailyUrl().path());
        services.writer = &writer;
        store = std::make_unique<PortfolioStore>(LocalCredentialStore(defaults), fakeExchanges(),
                                                 services, !loadOnly);
    }

    MemoryDefaultsStore defaults;
    FakeHttpTransport transport;
    RecordingNotifier notifier;
    PortfolioDiskWriter writer;
    PortfolioStore::Services services;
    std::unique_ptr<PortfolioStore> store;
};

int seed(const QString& folder)
{
    MemoryDefaultsStore defaults;
    RecordingNotifier notifier;
    PortfolioDiskWriter writer;
    PortfolioStore::Services services(defaults, Clock::system(), notifier, SupportFolder(folder));
    services.writer = &writer;
    PortfolioStore store(LocalCredentialStore(defaults), fakeExchanges(), services, false,
                         ninetyDays(Clock::system().now()));
    QCoro::waitFor(store.refreshNow(true));
    store.recordValueSnapshot(Clock::system().now());
    writer.flush();
    return 0;
}

int runProgram(const QString& folder)
{
    WindowAppearanceBridge::installStyle();
    Program program(folder);
    FloatingWindowController floating(program.defaults);
    AppSettings settings(program.defaults, program.transport, Clock::system());
    NullUpdateUserDriver driver;
    UpdateChecker checker(
        UpdaterEnvironment{program.transport, program.defaults, Clock::system(), driver, QUrl()});
    ReferralLinkStore referrals(program.defaults, program.transport, QUrl());
    ViewPreferences preferences(program.defaults);
    const MainWindowObjects objects{*program.store,   floating,        settings,
                                    checker,          referrals,       preferences,
                                    program.notifier, program.defaults};
    SceneRegistry scenes(objects, SceneContents::standard(), program.defaults, false);
    scenes.openWindow(SceneRegistry::mainSceneId);
    QCoreApplication::processEvents();
    const qint64 shown = monotonicNs();

    scenes.window(SceneRegistry::mainSceneId)->close();
    for (int i = 0; i < refreshCount; ++i) {
        QCoro::waitFor(program.store->refreshNow(true));
    }
    program.writer.flush();
    QCoreApplication::processEvents();
    QTextStream(stdout) << shown << ' ' << residentKiB() << '\n';
    return 0;
}

int runBaseline()
{
    QWidget window;
    window.resize(840, 550);
    window.show();
    QCoreApplication::processEvents();
    const qint64 shown = monotonicNs();
    window.close();
    QCoreApplication::processEvents();
    QTextStream(stdout) << shown << ' ' << residentKiB() << '\n';
    return 0;
}

struct Sample {
    double startMs;
    qint64 residentKiB;
};

Sample measure(const QStringList& arguments)
{
    QProcess child;
    const qint64 spawned = monotonicNs();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(120000);
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2) {
        return {-1, -1};
    }
    return {double(fields[0].toLongLong() - spawned) / 1e6, fields[1].toLongLong()};
}

template <typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const QString& name, const std::vector<Sample>& samples)
{
    std::vector<double> starts;
    std::vector<qint64> resident;
    for (const Sample& sample : samples) {
        starts.push_back(sample.startMs);
        resident.push_back(sample.residentKiB);
    }
    QTextStream(stdout) << name << ": start to window shown "
                        << QString::number(median(starts), 'f', 1) << " ms, resident memory "
                        << QString::number(median(resident) / 1024.0, 'f', 1) << " MiB (median of "
                        << samples.size() << ")\n";
}

int drive(int runs)
{
    QTemporaryDir folder;
    if (seed(folder.path()) != 0) {
        return 1;
    }
    std::vector<Sample> program;
    std::vector<Sample> baseline;
    for (int i = 0; i < runs; ++i) {
        baseline.push_back(measure({QStringLiteral("--baseline")}));
        program.push_back(measure({QStringLiteral("--program"), folder.path()}));
    }
    report(QStringLiteral("empty QWidget program"), baseline);
    report(QStringLiteral("Vantrell (90-day history, five-exchange cache; memory after 100 "
                          "refreshes, main window closed)"),
           program);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    tuneAllocatorForLongRunningProcess();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() >= 3 && arguments[1] == QStringLiteral("--program")) {
        return runProgram(arguments[2]);
    }
    if (arguments.size() >= 2 && arguments[1] == QStringLiteral("--baseline")) {
        return runBaseline();
    }
    return drive(arguments.size() >= 2 ? std::max(1, arguments[1].toInt()) : 5);
}
