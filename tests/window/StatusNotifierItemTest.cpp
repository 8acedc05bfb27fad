#include "window/StatusNotifierItem.h"

#include "settings/AppSettings.h"
#include "support/ActivationRecordingBus.h"
#include "support/SpinUntil.h"
#include "support/StagedPortfolio.h"
#include "support/ui/StagedScenes.h"
#include "window/MenuBarLabelGuide.h"
#include "window/PopoverWindow.h"
#include "window/SceneRegistry.h"
#include "window/TrayController.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

using namespace vantrell;
using namespace vantrell::test;

namespace {

// A StatusNotifierWatcher of our own, on its own connection to the private session bus the
// test run starts for this test. A host has registered with it unless a test says otherwise.
class StandInWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered MEMBER hostRegistered)

public:
    QStringList registrations;
    bool hostRegistered = true;

    // A host registers with the watcher, or its last host leaves.
    void setHostRegistered(bool registered)
    {
        hostRegistered = registered;
        if (registered) {
            Q_EMIT StatusNotifierHostRegistered();
        } else {
            Q_EMIT StatusNotifierHostUnregistered();
        }
    }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) { registrations << service; }

Q_SIGNALS:
    void StatusNotifierHostRegistered();
    void StatusNotifierHostUnregistered();
};

// Keeps every D-Bus signal it is connected to.
class SignalRecorder : public QObject {
    Q_OBJECT

public:
    std::vector<QDBusMessage> messages;

public Q_SLOTS:
    void record(const QDBusMessage& message) { messages.push_back(message); }
};

const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");

class StatusNotifierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QDBusConnection::sessionBus().isConnected()) {
            GTEST_SKIP() << "no session bus (the test run wraps this test in dbus-run-session)";
        }
    }
    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(watcherConnection);
        QDBusConnection::disconnectFromBus(hostConnection);
    }

    bool startWatcher()
    {
        QDBusConnection bus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, watcherConnection);
        return bus.registerObject(StatusNotifierItem::watcherPath, &watcher,
                                  QDBusConnection::ExportAllSlots |
                                      QDBusConnection::ExportAllSignals |
                                      QDBusConnection::ExportAllProperties) &&
               bus.registerService(StatusNotifierItem::watcherService);
    }
    // The watcher's process ends: its connection and with it its name leave the bus.
    void stopWatcher() { QDBusConnection::disconnectFromBus(watcherConnection); }

    // The tray host's side: its own connection, which reads and calls the item.
    QDBusConnection host()
    {
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, hostConnection);
    }
    QDBusMessage callItem(const QString& interface, const QString& method,
                          const QVariantList& arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            StatusNotifierItem::serviceName(), StatusNotifierItem::objectPath, interface, method);
        call.setArguments(arguments);
        // The item answers on this thread: wait with the event loop running.
        return host().call(call, QDBus::BlockWithGui);
    }
    QVariant property(const QString& name)
    {
        const QDBusMessage reply = callItem(QStringLiteral("org.freedesktop.DBus.Properties"),
                                            QStringLiteral("Get"), {itemInterface, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    template <typename T>
    T structuredProperty(const QString& name)
    {
        return qdbus_cast<T>(property(name).value<QDBusArgument>());
    }
    void activate(int x, int y) { callItem(itemInterface, QStringLiteral("Activate"), {x, y}); }
    void recordLabels(SignalRecorder& recorder)
    {
        ASSERT_TRUE(host().connect(
            StatusNotifierItem::serviceName(), StatusNotifierItem::objectPath, itemInterface,
            QStringLiteral("XAyatanaNewLabel"), &recorder, SLOT(record(QDBusMessage))));
    }
    static bool registered(const TrayController& tray)
    {
        return tray.statusNotifierItem()->isRegistered();
    }
    static bool shown(const TrayController& tray) { return tray.statusNotifierItem()->isShown(); }

    const QString watcherConnection = QStringLiteral("stand-in-watcher");
    const QString hostConnection = QStringLiteral("stand-in-host");
    StandInWatcher watcher;
    StagedPortfolio staged;
};

TEST_F(StatusNotifierTest, RegistersWithTheWatcherAndReadsBackOverTheBus)
{
    ASSERT_TRUE(startWatcher());
    TrayController tray(staged.store(), staged.settings());
    ASSERT_TRUE(spinUntil([&] { return registered(tray); }));
    EXPECT_EQ(watcher.registrations, QStringList{QStringLiteral("org.kde.StatusNotifierItem-%1-1")
                                                     .arg(QCoreApplication::applicationPid())});
    EXPECT_FALSE(tray.icon()->isVisible()) << "one tray item at a time";

    EXPECT_EQ(property(QStringLiteral("Category")), "ApplicationStatus");
    EXPECT_EQ(property(QStringLiteral("Id")), "vantrell");
    EXPECT_EQ(property(QStringLiteral("Title")), "Vantrell");
    EXPECT_EQ(property(QStringLiteral("Status")), "Active");
    EXPECT_EQ(property(QStringLiteral("ItemIsMenu")), false);
    EXPECT_EQ(property(QStringLiteral("XAyatanaLabel")), "—");
    EXPECT_EQ(property(QStringLiteral("XAyatanaLabelGuide")), "—");
    const auto toolTip = structuredProperty<StatusNotifierToolTip>(QStringLiteral("ToolTip"));
    EXPECT_EQ(toolTip.title, "Vantrell  —");

    const auto pixmaps = structuredProperty<StatusNotifierPixmaps>(QStringLiteral("IconPixmap"));
    ASSERT_EQ(pixmaps.size(), 4);
    const int sides[] = {16, 22, 32, 48};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pixmaps[i].width, sides[i]);
        EXPECT_EQ(pixmaps[i].height, sides[i]);
        ASSERT_EQ(pixmaps[i].bytes.size(), sides[i] * sides[i] * 4);
    }
    // The mark arrived: the 48 px image has opaque and clear pixels (alpha is each first byte).
    int opaque = 0;
    for (qsizetype at = 0; at < pixmaps[3].bytes.size(); at += 4) {
        opaque += uchar(pixmaps[3].bytes[at]) == 0xff ? 1 : 0;
    }
    EXPECT_GT(opaque, 48 * 2);
    EXPECT_LT(opaque, 48 * 48 / 2);
}

TEST_F(StatusNotifierTest, TitleChangesAnnounceTheNewLabelAndGuide)
{
    staged.stage(Exchange::binance, "12500.40");
    ASSERT_TRUE(startWatcher());
    TrayController tray(staged.store(), staged.settings());
    ASSERT_TRUE(spinUntil([&] { return registered(tray); }));
    SignalRecorder recorder;
    recordLabels(recorder);

    staged.refresh();
    ASSERT_TRUE(spinUntil([&] { return !recorder.messages.empty(); }));
    EXPECT_EQ(recorder.messages.back().arguments(), (QVariantList{"$12,500", "$88,888"}));
    EXPECT_EQ(property(QStringLiteral("XAyatanaLabel")), "$12,500");
    EXPECT_EQ(property(QStringLiteral("XAyatanaLabelGuide")), "$88,888");
    EXPECT_EQ(structuredProperty<StatusNotifierToolTip>(QStringLiteral("ToolTip")).title,
              "Vantrell  $12,500");

    // The icon alone: no label, no guide, the program's name as the tooltip.
    recorder.messages.clear();
    staged.settings().setMenuBarDisplayMode(MenuBarDisplayMode::iconOnly);
    ASSERT_TRUE(spinUntil([&] { return !recorder.messages.empty(); }));
    EXPECT_EQ(recorder.messages.back().arguments(), (QVariantList{QString(), QString()}));
    EXPECT_EQ(property(QStringLiteral("XAyatanaLabel")), QString());
    EXPECT_EQ(structuredProperty<StatusNotifierToolTip>(QStringLiteral("ToolTip")).title,
              "Vantrell");
}

TEST_F(StatusNotifierTest, ActivateTogglesThePopoverUnderThePoint)
{
    ASSERT_TRUE(startWatcher());
    StagedScenes scenes;
    SceneContents contents;
    contents.popover = [](const PopoverObjects&) { return new QLabel(QStringLiteral("popover")); };
    contents.settingsForm = [](const SettingsObjects&) { return new QLabel(); };
    SceneRegistry registry(scenes.mainWindowObjects(), contents, scenes.staged.defaults, true);
    ASSERT_TRUE(spinUntil([&] { return registered(*registry.tray()); }));
    PopoverWindow* popover = registry.popover();

    activate(300, 24);
    ASSERT_TRUE(spinUntil([&] { return popover->isVisible(); }));
    // Centred under the clicked pixel, as under an icon one pixel wide.
    const QSize size = popover->size();
    EXPECT_EQ(popover->geometry(),
              QRect(QPoint(300 - size.width() / 2, 24 + 1 + PopoverWindow::iconGap), size));

    activate(300, 24);
    EXPECT_TRUE(spinUntil([&] { return !popover->isVisible(); }));

    // Near the screen's right edge (800 px offscreen) it stays on the screen.
    QTest::qWait(PopoverWindow::reopenGuardMs + 50);
    activate(795, 24);
    ASSERT_TRUE(spinUntil([&] { return popover->isVisible(); }));
    EXPECT_EQ(popover->geometry(),
              QRect(QPoint(800 - size.width(), 24 + 1 + PopoverWindow::iconGap), size));
}

TEST_F(StatusNotifierTest, WatcherThatComesLaterOrRestartsGetsTheItemAgain)
{
    TrayController tray(staged.store(), staged.settings());
    // No watcher: the plain tray icon stands in.
    ASSERT_TRUE(spinUntil([&] { return tray.icon()->isVisible(); }));
    EXPECT_FALSE(registered(tray));

    ASSERT_TRUE(startWatcher());
    ASSERT_TRUE(spinUntil([&] { return shown(tray); }));
    EXPECT_EQ(watcher.registrations.size(), 1);
    EXPECT_FALSE(tray.icon()->isVisible());

    stopWatcher();
    ASSERT_TRUE(spinUntil([&] { return !registered(tray); }));
    EXPECT_TRUE(tray.icon()->isVisible());

    ASSERT_TRUE(startWatcher());
    ASSERT_TRUE(spinUntil([&] { return shown(tray); }));
    EXPECT_EQ(watcher.registrations.size(), 2);
    EXPECT_FALSE(tray.icon()->isVisible());
}

// On a desktop whose watcher was there at start, Qt's icon would itself publish an item.
TEST_F(StatusNotifierTest, WatcherThatWasThereAtStartIsAwaitedWhileItRestarts)
{
    ASSERT_TRUE(startWatcher());
    TrayController tray(staged.store(), staged.settings());
    ASSERT_TRUE(spinUntil([&] { return shown(tray); }));

    stopWatcher();
    ASSERT_TRUE(spinUntil([&] { return !registered(tray); }));
    EXPECT_FALSE(tray.icon()->isVisible());
    ASSERT_TRUE(startWatcher());
    ASSERT_TRUE(spinUntil([&] { return shown(tray); }));
    EXPECT_EQ(watcher.registrations.size(), 2);
    EXPECT_FALSE(tray.icon()->isVisible());
}

// As under a panel that shows only XEmbed icons, where a watcher was left running.
TEST_F(StatusNotifierTest, WatcherWithoutAHostLeavesThePlainIconUntilAHostComes)
{
    watcher.hostRegistered = false;
    ASSERT_TRUE(startWatcher());
    TrayController tray(staged.store(), staged.settings());
    ASSERT_TRUE(spinUntil([&] { return tray.icon()->isVisible(); }));
    EXPECT_TRUE(registered(tray));
    EXPECT_FALSE(shown(tray));

    watcher.setHostRegistered(true);
    ASSERT_TRUE(spinUntil([&] { return shown(tray); }));
    EXPECT_FALSE(tray.icon()->isVisible()) << "one tray item at a time";

    watcher.setHostRegistered(false);
    ASSERT_TRUE(spinUntil([&] { return !shown(tray); }));
    EXPECT_TRUE(tray.icon()->isVisible());
    EXPECT_TRUE(registered(tray));
    EXPECT_EQ(watcher.registrations.size(), 1);
}

TEST_F(StatusNotifierTest, WatcherThatRestartsWithoutAHostKeepsThePlainIcon)
{
    TrayController tray(staged.store(), staged.settings());
    ASSERT_TRUE(spinUntil([&] { return tray.icon()->isVisible(); }));
    ASSERT_TRUE(startWatcher());
    ASSERT_TRUE(spinUntil([&] { return shown(tray); }));
    EXPECT_FALSE(tray.icon()->isVisible());

    stopWatcher();
    ASSERT_TRUE(spinUntil([&] { return !registered(tray); }));
    QSignalSpy answers(tray.statusNotifierItem(), &StatusNotifierItem::shownChanged);
    watcher.hostRegistered = false;
    ASSERT_TRUE(startWatcher());
    ASSERT_TRUE(spinUntil([&] { return !answers.empty(); }));
    EXPECT_TRUE(registered(tray));
    EXPECT_FALSE(shown(tray));
    EXPECT_TRUE(tray.icon()->isVisible());
}

// Qt's own icon is an item too where a host was there at start: it never stands in.
TEST_F(StatusNotifierTest, HostThatWasThereAtStartIsAwaitedWhenItLeaves)
{
    ASSERT_TRUE(startWatcher());
    TrayController tray(staged.store(), staged.settings());
    ASSERT_TRUE(spinUntil([&] { return shown(tray); }));

    watcher.setHostRegistered(false);
    ASSERT_TRUE(spinUntil([&] { return !shown(tray); }));
    EXPECT_TRUE(registered(tray));
    EXPECT_FALSE(tray.icon()->isVisible());

    watcher.setHostRegistered(true);
    ASSERT_TRUE(spinUntil([&] { return shown(tray); }));
    EXPECT_FALSE(tray.icon()->isVisible());
    EXPECT_EQ(watcher.registrations.size(), 1);
}

// Any client on the bus may send any point.
TEST_F(StatusNotifierTest, ActivateAtExtremePointsAnchorsOnTheDesktop)
{
    ASSERT_TRUE(startWatcher());
    TrayController tray(staged.store(), staged.settings());
    ASSERT_TRUE(spinUntil([&] { return shown(tray); }));
    QSignalSpy anchors(&tray, &TrayController::activated);
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    constexpr int most = std::numeric_limits<int>::max();
    constexpr int least = std::numeric_limits<int>::min();
    const struct {
        int x;
        int y;
        QPoint anchor;
    } rows[] = {
        {0, most, QPoint(desktop.left(), desktop.bottom())},
        {least, least, desktop.topLeft()},
        {most, 0, QPoint(desktop.right(), desktop.top())},
        {most, most, desktop.bottomRight()},
        {least, most, QPoint(desktop.left(), desktop.bottom())},
    };
    for (const auto& row : rows) {
        anchors.clear();
        activate(row.x, row.y);
        ASSERT_TRUE(spinUntil([&] { return !anchors.empty(); }));
        EXPECT_EQ(anchors.front().front().toRect(), QRect(row.anchor, QSize(1, 1)))
            << row.x << "," << row.y;
    }
}

// Offering the item and reading the host state must never make the bus start a watcher.
TEST(StatusNotifierOfferTest, StartsNoWatcherService)
{
    ActivationRecordingBus bus({StatusNotifierItem::watcherService});
    const std::optional<QString> address = bus.waitForAddress();
    if (!address) {
        GTEST_SKIP() << "no dbus-daemon to run a bus of the test's own";
    }
    const QString name = QStringLiteral("activation-recording");
    {
        StatusNotifierItem item(QDBusConnection::connectToBus(*address, name));
        QSignalSpy answers(&item, &StatusNotifierItem::shownChanged);
        ASSERT_TRUE(item.start());
        ASSERT_TRUE(answers.wait(StatusNotifierItem::registrationTimeoutMs + 1000));
        EXPECT_FALSE(item.isShown());
    }
    QDBusConnection::disconnectFromBus(name);
    EXPECT_FALSE(bus.wasStarted(StatusNotifierItem::watcherService));
}

// Runs everywhere, bus or not.
TEST(TrayControllerWithoutBusTest, ShowsTheSystemTrayIconAtOnce)
{
    StagedPortfolio staged;
    TrayController tray(staged.store(), staged.settings(),
                        QDBusConnection(QStringLiteral("never-connected")));
    EXPECT_TRUE(tray.icon()->isVisible());
    EXPECT_FALSE(tray.statusNotifierItem()->isRegistered());
    EXPECT_EQ(tray.statusNotifierItem()->label(), "—") << "the label is kept all the same";
}

TEST(StatusNotifierPixmapTest, PixelsAreArgbInNetworkByteOrder)
{
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0x11, 0x22, 0x33, 0x44));
    image.setPixel(1, 0, qRgba(0xaa, 0xbb, 0xcc, 0xff));
    const StatusNotifierPixmap pixmap = StatusNotifierPixmap::fromImage(image);
    EXPECT_EQ(pixmap.width, 2);
    EXPECT_EQ(pixmap.height, 1);
    EXPECT_EQ(pixmap.bytes, QByteArray::fromHex("44112233ffaabbcc"));

    // Premultiplied images are written with their real colours.
    QImage premultiplied(1, 1, QImage::Format_ARGB32_Premultiplied);
    premultiplied.fill(QColor(0xff, 0x00, 0x00, 0x80));
    EXPECT_EQ(StatusNotifierPixmap::fromImage(premultiplied).bytes,
              QByteArray::fromHex("80ff0000"));
}

TEST(MenuBarLabelGuideTest, KeepsTheWidthOfEveryTitleTheModeCanShow)
{
    using Mode = MenuBarDisplayMode;
    struct Row {
        Mode mode;
        std::optional<QString> title;
        QString total;
        QString guide;
    };
    const Row rows[] = {
        {Mode::total, QStringLiteral("$12,345"), QStringLiteral("$12,345"), "$88,888"},
        {Mode::total, QStringLiteral("—"), QStringLiteral("—"), "—"},
        {Mode::okx, QStringLiteral("USDT 907"), QStringLiteral("—"), "USDT 888"},
        {Mode::iconOnly, std::nullopt, QStringLiteral("$12,345"), QString()},
        // A change of any sign, or none yet, is held by a signed one of two integer digits.
        {Mode::totalWithChange, QStringLiteral("$12,345 +1.23%"), QStringLiteral("$12,345"),
         "$88,888 +88.88%"},
        {Mode::totalWithChange, QStringLiteral("$12,345 -0.50%"), QStringLiteral("$12,345"),
         "$88,888 +88.88%"},
        {Mode::totalWithChange, QStringLiteral("$12,345 0.00%"), QStringLiteral("$12,345"),
         "$88,888 +88.88%"},
        {Mode::totalWithChange, QStringLiteral("$12,345"), QStringLiteral("$12,345"),
         "$88,888 +88.88%"},
        {Mode::totalWithChange, QStringLiteral("$1,234 +123.45%"), QStringLiteral("$1,234"),
         "$8,888 +888.88%"},
        {Mode::totalWithChange, QStringLiteral("—"), QStringLiteral("—"), "—"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(MenuBarLabelGuide::guide(row.mode, row.title, row.total), row.guide)
            << row.title.value_or(QStringLiteral("(none)")).toStdString();
    }
}

}  // namespace

#include "StatusNotifierItemTest.moc"
