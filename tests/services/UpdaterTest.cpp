#include "services/Updater.h"

#include "platform/MemoryDefaultsStore.h"
#include "services/UpdaterDelegate.h"
#include "settings/Preferences.h"
#include "support/FakeHttpTransport.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

#include <memory>
#include <vector>

using namespace vantrell;

namespace {

const QString feedPath = QStringLiteral("/feed.json");
const QUrl feedURL(QStringLiteral("https://updates.example.com/feed.json"));

QByteArray feed(const char* version)
{
    return QByteArray(R"({"version": ")") + version +
           R"(", "downloadURL": "https://updates.example.com/download"})";
}

// Every call the layer makes, as one line each: delegate calls first, then dialogs.
class Recorder final : public UpdaterDelegate, public UpdateUserDriver {
public:
    void didFindValidUpdate(Updater&, const UpdateItem& item) override
    {
        calls.push_back("found " + item.displayVersionString);
    }
    void updaterDidNotFindUpdate(Updater&, const UpdaterError& error) override
    {
        calls.push_back("not found " + QString::number(error.code));
    }
    void didAbortWithError(Updater&, const UpdaterError& error) override
    {
        calls.push_back("abort " + QString::number(error.code));
    }
    void showUpdateFound(const UpdateItem& item) override
    {
        calls.push_back("dialog found " + item.displayVersionString);
    }
    void showUpdateNotFound() override { calls.push_back("dialog not found"); }
    void showUpdaterError(const UpdaterError& error) override
    {
        calls.push_back("dialog error " + error.localizedDescription);
    }

    std::vector<QString> calls;
};

class UpdaterTest : public ::testing::Test {
protected:
    void SetUp() override { QCoreApplication::setApplicationVersion(QStringLiteral("1.9")); }
    void TearDown() override { QCoreApplication::setApplicationVersion(QString()); }

    std::unique_ptr<Updater> makeUpdater(QUrl url = feedURL)
    {
        return std::make_unique<Updater>(
            UpdaterEnvironment{transport, defaults, clock, recorder, std::move(url)}, &recorder);
    }

    FakeHttpTransport transport;
    MemoryDefaultsStore defaults;
    ManualClock clock;
    Recorder recorder;
};

struct OutcomeRow {
    const char* name;
    std::function<void(FakeHttpTransport&)> serve;
    std::vector<QString> calls;  // of a user-started check
};

TEST_F(UpdaterTest, EveryCheckEndsInExactlyOneCallback)
{
    const std::vector<OutcomeRow> rows = {
        {"newer",
         [](FakeHttpTransport& t) {
             t.respond("GET", feedPath, FakeHttpTransport::json(200, feed("1.10")));
         },
         {"found 1.10", "dialog found 1.10"}},
        {"same",
         [](FakeHttpTransport& t) {
             t.respond("GET", feedPath, FakeHttpTransport::json(200, feed("1.9.0")));
         },
         {"not found 1001", "dialog not found"}},
        {"server error",
         [](FakeHttpTransport& t) {
             t.respond("GET", feedPath, FakeHttpTransport::json(500, feed("2")));
         },
         {"abort 2", "dialog error 无法连接更新服务器"}},
        {"no connection",
         [](FakeHttpTransport& t) { t.fail("GET", feedPath); },
         {"abort 2", "dialog error 无法连接更新服务器"}},
        {"invalid feed",
         [](FakeHttpTransport& t) {
             t.respond("GET", feedPath, FakeHttpTransport::json(200, "{}"));
         },
         {"abort 3", "dialog error 更新信息无效"}},
        {"feed given up as too large",
         [](FakeHttpTransport& t) {
             t.respond("GET", feedPath, [](const HttpRequest&) -> HttpResponse {
                 throw HttpBodyTooLargeError(200);
             });
         },
         {"abort 3", "dialog error 更新信息无效"}},
    };
    for (const OutcomeRow& row : rows) {
        row.serve(transport);
        auto updater = makeUpdater();
        updater->start();

        recorder.calls.clear();
        updater->checkForUpdates();
        QCoreApplication::processEvents();
        EXPECT_EQ(recorder.calls, row.calls) << row.name;
        EXPECT_TRUE(updater->canCheckForUpdates()) << row.name;

        // A scheduled check reaches the delegate alone: no dialog.
        recorder.calls.clear();
        updater->checkForUpdatesInBackground();
        QCoreApplication::processEvents();
        EXPECT_EQ(recorder.calls, std::vector<QString>{row.calls.front()}) << row.name;
    }
}

TEST_F(UpdaterTest, CheckingIsImpossibleWhileACheckRunsAndPossibleAfterAFailure)
{
    transport.fail("GET", feedPath);
    transport.setHolding(true);
    auto updater = makeUpdater();
    std::vector<bool> changes;
    QObject::connect(updater.get(), &Updater::canCheckForUpdatesChanged,
                     [&](bool value) { changes.push_back(value); });
    EXPECT_FALSE(updater->canCheckForUpdates());
    updater->start();
    EXPECT_TRUE(updater->canCheckForUpdates());

    updater->checkForUpdates();
    EXPECT_FALSE(updater->canCheckForUpdates());
    updater->checkForUpdates();  // ignored: one is running
    updater->checkForUpdatesInBackground();
    EXPECT_EQ(transport.requestCount(), 1);

    transport.releaseAll();
    QCoreApplication::processEvents();
    EXPECT_TRUE(updater->canCheckForUpdates());
    EXPECT_EQ(recorder.calls, (std::vector<QString>{"abort 2", "dialog error 无法连接更新服务器"}));
    EXPECT_EQ(changes, (std::vector<bool>{true, false, true}));
}

TEST_F(UpdaterTest, WithoutAFeedAddressNothingIsFetchedAndACheckFails)
{
    auto updater = makeUpdater(QUrl());
    updater->start();
    updater->setAutomaticallyChecksForUpdates(true);
    EXPECT_FALSE(updater->canCheckForUpdates());
    EXPECT_FALSE(updater->scheduledCheckDelay());

    updater->checkForUpdates();
    EXPECT_EQ(recorder.calls, (std::vector<QString>{"abort 1", "dialog error 未配置更新地址"}));
    EXPECT_EQ(transport.requestCount(), 0);
    EXPECT_FALSE(updater->canCheckForUpdates());
}

TEST_F(UpdaterTest, TheScheduleFollowsTheLastCheck)
{
    auto updater = makeUpdater();
    updater->setAutomaticallyChecksForUpdates(true);
    EXPECT_FALSE(updater->scheduledCheckDelay()) << "nothing runs before start";
    updater->start();
    EXPECT_EQ(updater->scheduledCheckDelay(), Updater::minimumScheduleDelay) << "never checked";

    writePreference(defaults, preferences::updaterLastCheckTime,
                    std::optional(clock.now().addingSeconds(-23 * 3600)));
    updater->setUpdateCheckInterval(86400);
    EXPECT_EQ(updater->scheduledCheckDelay(), 3600);

    writePreference(defaults, preferences::updaterLastCheckTime,
                    std::optional(clock.now().addingSeconds(5 * 86400)));
    updater->setUpdateCheckInterval(86400);
    EXPECT_EQ(updater->scheduledCheckDelay(), 86400) << "a future time counts as now";

    updater->setAutomaticallyChecksForUpdates(false);
    EXPECT_FALSE(updater->scheduledCheckDelay());
}

TEST_F(UpdaterTest, AFinishedCheckIsRecordedAndTheNextOneADayLater)
{
    transport.respond("GET", feedPath, FakeHttpTransport::json(200, feed("1.9")));
    auto updater = makeUpdater();
    updater->start();
    updater->setAutomaticallyChecksForUpdates(true);
    updater->setUpdateCheckInterval(86400);
    clock.advance(10);

    updater->checkForUpdatesInBackground();
    EXPECT_EQ(updater->lastUpdateCheckDate(), clock.now());
    EXPECT_EQ(updater->scheduledCheckDelay(), 86400);
}

TEST_F(UpdaterTest, TheAutomaticDownloadSwitchIsStored)
{
    auto updater = makeUpdater();
    int changes = 0;
    QObject::connect(updater.get(), &Updater::automaticallyDownloadsUpdatesChanged,
                     [&] { ++changes; });
    EXPECT_FALSE(updater->automaticallyDownloadsUpdates());
    updater->setAutomaticallyDownloadsUpdates(true);
    updater->setAutomaticallyDownloadsUpdates(true);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(makeUpdater()->automaticallyDownloadsUpdates());
    EXPECT_EQ(transport.requestCount(), 0) << "nothing is fetched for it";
}

TEST_F(UpdaterTest, AnUpdaterDestroyedDuringACheckIsNotCalledBack)
{
    transport.respond("GET", feedPath, FakeHttpTransport::json(200, feed("2.0")));
    transport.setHolding(true);
    auto updater = makeUpdater();
    updater->start();
    updater->checkForUpdates();
    updater.reset();
    transport.releaseAll();
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.calls.empty());
}

}  // namespace
