#include "window/StatusNotifierItem.h"

#include "settings/AppSettings.h"
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
#include <QImage>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace vantrell;
using namespace vantrell::test;

namespace {

// A StatusNotifierWatcher of our own, on its own connection to the private session bus the
// test run starts for this test.
class StandInWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")

public:
    QStringList registrations;

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) { registrations << service; }
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
                                  QDBusConnection::ExportAllSlots) &&
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
    ASSERT_TRUE(spinUntil([&] { return registered(tray); }));
    EXPECT_EQ(watcher.registrations.size(), 1);
    EXPECT_FALSE(tray.icon()->isVisible());

    stopWatcher();
    ASSERT_TRUE(spinUntil([&] { return !registered(tray); }));
    EXPECT_TRUE(tray.icon()->isVisible());

    ASSERT_TRUE(startWatcher());
    ASSERT_TRUE(spinUntil([&] { return registered(tray); }));
    EXPECT_EQ(watcher.registrations.size(), 2);
    EXPECT_FALSE(tray.icon()->isVisible());
}

// On a desktop whose watcher was there at start, Qt's icon would itself publish an item.
TEST_F(StatusNotifierTest, WatcherThatWasThereAtStartIsAwaitedWhileItRestarts)
{
    ASSERT_TRUE(startWatcher());
    TrayController tray(staged.store(), staged.settings());
    ASSERT_TRUE(spinUntil([&] { return registered(tray); }));

    stopWatcher();
    ASSERT_TRUE(spinUntil([&] { return !registered(tray); }));
    EXPECT_FALSE(tray.icon()->isVisible());
    ASSERT_TRUE(startWatcher());
    ASSERT_TRUE(spinUntil([&] { return registered(tray); }));
    EXPECT_EQ(watcher.registrations.size(), 2);
    EXPECT_FALSE(tray.icon()->isVisible());
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
