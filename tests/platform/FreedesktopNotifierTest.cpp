#include "platform/FreedesktopNotifier.h"

#include "support/SpinUntil.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QVariantMap>

#include <vector>

using namespace vantrell;

namespace {

// A notification service of our own, on its own connection to the session bus (the test run
// starts a private bus for this test).
class StandInNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call {
        QString appName;
        uint replacesId;
        QString summary;
        QString body;
        QVariantMap hints;
        int timeout;
    };

    std::vector<Call> calls;

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& /*icon*/,
                const QString& summary, const QString& body, const QStringList& /*actions*/,
                const QVariantMap& hints, int timeout)
    {
        calls.push_back({appName, replacesId, summary, body, hints, timeout});
        return static_cast<uint>(calls.size());
    }
    QString GetServerInformation() { return QStringLiteral("stand-in"); }
};

class FreedesktopNotifierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QDBusConnection::sessionBus().isConnected()) {
            GTEST_SKIP() << "no session bus (the test run wraps this test in dbus-run-session)";
        }
    }
    void TearDown() override { QDBusConnection::disconnectFromBus(connectionName); }

    // Puts the stand-in on the bus under the service's well-known name.
    bool startService()
    {
        QDBusConnection bus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
        return bus.registerObject(FreedesktopNotifier::path, &service,
                                  QDBusConnection::ExportAllSlots) &&
               bus.registerService(FreedesktopNotifier::service);
    }

    const QString connectionName = QStringLiteral("stand-in-notification-service");
    StandInNotificationService service;
};

TEST_F(FreedesktopNotifierTest, PostsEachNotificationWithoutWaitingForTheService)
{
    ASSERT_TRUE(startService());
    FreedesktopNotifier notifier;
    notifier.post(QStringLiteral("Vantrell"), QStringLiteral("资产达到上限"));
    notifier.post(QStringLiteral("Vantrell"), QStringLiteral("资产达到下限"));
    // The service runs on this thread: it can only have seen the posts if posting waited.
    EXPECT_TRUE(service.calls.empty());

    ASSERT_TRUE(test::spinUntil([&] { return service.calls.size() == 2; }));
    const auto& first = service.calls[0];
    EXPECT_EQ(first.appName, "Vantrell");
    EXPECT_EQ(first.replacesId, 0u) << "never replaces an earlier notification";
    EXPECT_EQ(first.summary, "Vantrell");
    EXPECT_EQ(first.body, "资产达到上限");
    EXPECT_EQ(first.timeout, -1);
    EXPECT_TRUE(first.hints.contains(QStringLiteral("sound-name")));
    EXPECT_EQ(service.calls[1].body, "资产达到下限");
}

TEST_F(FreedesktopNotifierTest, AuthorizationFollowsThePresenceOfTheService)
{
    FreedesktopNotifier notifier;
    const test::TaskResult<bool> absent = test::runTask(notifier.requestAuthorization());
    ASSERT_TRUE(absent.succeeded());
    EXPECT_FALSE(*absent.value);
    notifier.post(QStringLiteral("Vantrell"), QStringLiteral("nobody listens"));

    ASSERT_TRUE(startService());
    const test::TaskResult<bool> present = test::runTask(notifier.requestAuthorization());
    ASSERT_TRUE(present.succeeded());
    EXPECT_TRUE(*present.value);
    EXPECT_TRUE(service.calls.empty()) << "a post without a service is simply lost";
}

// Runs everywhere, bus or not: a notifier without a bus stays quiet and says no.
TEST(FreedesktopNotifierWithoutBusTest, PostingIsHarmlessAndAuthorizationRefused)
{
    FreedesktopNotifier notifier(QDBusConnection(QStringLiteral("never-connected")));
    notifier.post(QStringLiteral("Vantrell"), QStringLiteral("资产达到上限"));
    const test::TaskResult<bool> answer = test::runTask(notifier.requestAuthorization());
    ASSERT_TRUE(answer.succeeded());
    EXPECT_FALSE(*answer.value);
    EXPECT_NE(Notifier::create(), nullptr);
}

}  // namespace

#include "FreedesktopNotifierTest.moc"
