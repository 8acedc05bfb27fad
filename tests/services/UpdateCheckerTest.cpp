#include "services/UpdateChecker.h"

#include "platform/MemoryDefaultsStore.h"
#include "services/NullUpdateUserDriver.h"
#include "support/FakeHttpTransport.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

#include <memory>

using namespace vantrell;

namespace {

using State = UpdateChecker::State;

const QString feedPath = QStringLiteral("/feed.json");
const QUrl feedURL(QStringLiteral("https://updates.example.com/feed.json"));
const QUrl notes1(QStringLiteral("https://example.com/notes/1"));

UpdateItem item(const char* version, std::optional<QUrl> notes)
{
    return UpdateItem{QString::fromLatin1(version), std::move(notes),
                      QUrl(QStringLiteral("https://example.com/download"))};
}

class UpdateCheckerTest : public ::testing::Test {
protected:
    void SetUp() override { QCoreApplication::setApplicationVersion(QStringLiteral("1.0")); }
    void TearDown() override { QCoreApplication::setApplicationVersion(QString()); }

    std::unique_ptr<UpdateChecker> makeChecker(QUrl url = feedURL)
    {
        auto checker = std::make_unique<UpdateChecker>(
            UpdaterEnvironment{transport, defaults, clock, dialogs, std::move(url)});
        QCoreApplication::processEvents();  // the mirrors' first values
        return checker;
    }
    Updater& updaterOf(UpdateChecker& checker) { return checker.updaterController().updater(); }

    FakeHttpTransport transport;
    MemoryDefaultsStore defaults;
    ManualClock clock;
    NullUpdateUserDriver dialogs;
};

TEST_F(UpdateCheckerTest, StartsTheUpdaterWithTheStoredPreferenceAndADailyInterval)
{
    auto checker = makeChecker();
    EXPECT_TRUE(updaterOf(*checker).automaticallyChecksForUpdates()) << "absent key";
    EXPECT_EQ(updaterOf(*checker).updateCheckInterval(), 86400);
    EXPECT_TRUE(checker->canCheckForUpdates());
    EXPECT_EQ(checker->state(), State::idle());
    EXPECT_EQ(transport.requestCount(), 0) << "the first scheduled check waits";

    defaults.setValue(QStringLiteral("automaticallyChecksForUpdates"), false);
    EXPECT_FALSE(updaterOf(*makeChecker()).automaticallyChecksForUpdates());
}

// Each outcome, applied in this order to one checker.
TEST_F(UpdateCheckerTest, OutcomesSetTheStateAndTheReleaseNotes)
{
    auto checker = makeChecker();
    Updater& updater = updaterOf(*checker);
    const UpdaterError other{UpdaterError::domain, UpdaterError::feedUnreachable, "无法连接"};
    const UpdaterError noUpdate = UpdaterError::make(UpdaterError::noUpdateFound);
    const UpdaterError foreignNoUpdate{QStringLiteral("OtherDomain"), 1001, QStringLiteral("x")};

    checker->didFindValidUpdate(updater, item("1.1", notes1));
    EXPECT_EQ(checker->state(), State::updateAvailable("1.1"));
    EXPECT_EQ(checker->releaseNotesURL(), notes1);

    checker->didFindValidUpdate(updater, item("1.2", QUrl(QStringLiteral("http://e.com/2"))));
    EXPECT_EQ(checker->state(), State::updateAvailable("1.2"));
    EXPECT_EQ(checker->releaseNotesURL(), notes1) << "a non-https link keeps the earlier one";

    checker->didAbortWithError(updater, other);
    EXPECT_EQ(checker->state(), State::failed("无法连接"));
    EXPECT_EQ(checker->releaseNotesURL(), notes1);

    checker->didAbortWithError(updater, noUpdate);
    EXPECT_EQ(checker->state(), State::upToDate());
    EXPECT_EQ(checker->releaseNotesURL(), notes1);

    checker->didAbortWithError(updater, foreignNoUpdate);
    EXPECT_EQ(checker->state(), State::failed("x")) << "1001 counts only in our domain";

    clock.advance(5);
    checker->updaterDidNotFindUpdate(updater, noUpdate);
    EXPECT_EQ(checker->state(), State::upToDate());
    EXPECT_FALSE(checker->releaseNotesURL());
    EXPECT_EQ(checker->lastCheckedAt(), clock.now());

    checker->didFindValidUpdate(updater, item("1.3", std::nullopt));
    EXPECT_FALSE(checker->releaseNotesURL());
}

TEST_F(UpdateCheckerTest, BothNoUpdateCallsLeaveUpToDateAtTheLaterTime)
{
    auto checker = makeChecker();
    const UpdaterError noUpdate = UpdaterError::make(UpdaterError::noUpdateFound);
    checker->updaterDidNotFindUpdate(updaterOf(*checker), noUpdate);
    clock.advance(1);
    checker->didAbortWithError(updaterOf(*checker), noUpdate);
    EXPECT_EQ(checker->state(), State::upToDate());
    EXPECT_EQ(checker->lastCheckedAt(), clock.now());
}

TEST_F(UpdateCheckerTest, AManualCheckRunsOnlyWhenTheUpdaterCanCheck)
{
    transport.respond(
        "GET", feedPath,
        FakeHttpTransport::json(200, R"({"version": "1.5", "downloadURL": "https://e.com/d",
                                   "releaseNotesURL": "https://e.com/n"})"));
    transport.setHolding(true);
    auto checker = makeChecker();

    checker->checkForUpdates();
    EXPECT_EQ(checker->state(), State::checking());
    QCoreApplication::processEvents();
    EXPECT_FALSE(checker->canCheckForUpdates()) << "the mirror follows";

    checker->setState(State::upToDate());
    checker->checkForUpdates();  // the updater is busy: nothing happens
    EXPECT_EQ(checker->state(), State::upToDate());
    EXPECT_EQ(transport.requestCount(), 1);

    transport.releaseAll();
    QCoreApplication::processEvents();
    EXPECT_EQ(checker->state(), State::updateAvailable("1.5"));
    EXPECT_EQ(checker->releaseNotesURL(), QUrl(QStringLiteral("https://e.com/n")));
    QCoreApplication::processEvents();
    EXPECT_TRUE(checker->canCheckForUpdates());
}

TEST_F(UpdateCheckerTest, WithoutAFeedTheButtonsStayOff)
{
    auto checker = makeChecker(QUrl());
    EXPECT_FALSE(checker->canCheckForUpdates());
    checker->checkForUpdates();
    EXPECT_EQ(checker->state(), State::idle());

    // Asking the controller directly still ends the check, with the reason.
    checker->updaterController().checkForUpdates();
    EXPECT_EQ(checker->state(), State::failed("未配置更新地址"));
}

TEST_F(UpdateCheckerTest, MirrorsTheAutomaticDownloadSwitch)
{
    auto checker = makeChecker();
    EXPECT_FALSE(checker->automaticallyDownloadsUpdates());
    updaterOf(*checker).setAutomaticallyDownloadsUpdates(true);
    EXPECT_FALSE(checker->automaticallyDownloadsUpdates()) << "delivered on the event loop";
    QCoreApplication::processEvents();
    EXPECT_TRUE(checker->automaticallyDownloadsUpdates());
}

TEST_F(UpdateCheckerTest, CurrentVersionFallsBackWhenTheApplicationHasNone)
{
    EXPECT_EQ(UpdateChecker::currentVersion(), "1.0");
    QCoreApplication::setApplicationVersion(QString());
    EXPECT_EQ(UpdateChecker::currentVersion(), "0.1.0");
}

}  // namespace
