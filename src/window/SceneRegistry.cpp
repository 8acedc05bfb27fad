#include "window/SceneRegistry.h"

#include "window/MainWindowView.h"
#include "window/PopoverWindow.h"
#include "window/SceneHost.h"
#include "window/TrayController.h"

namespace vantrell {

SceneRegistry::SceneRegistry(const MainWindowObjects& objects, SceneContents contents,
                             DefaultsStore& defaults, bool withTray, QObject* parent)
    : QObject(parent), m_objects(objects), m_contents(std::move(contents)), m_defaults(defaults)
{
    m_mainWindow = makeMainWindow();
    if (withTray) {
        makeTray();
    }
}

SceneRegistry::~SceneRegistry()
{
    delete m_popover.data();
    delete m_settingsWindow.data();
    delete m_mainWindow.data();
}

void SceneRegistry::openWindow(const QString& sceneId)
{
    SceneHost* host = nullptr;
    if (sceneId == mainSceneId) {
        host = m_mainWindow;
    } else if (sceneId == settingsSceneId) {
        if (!m_settingsWindow) {
            m_settingsWindow = makeSettingsWindow();
        }
        host = m_settingsWindow;
    }
    if (host == nullptr) {
        return;
    }
    if (m_popover) {
        m_popover->hide();
    }
    host->present();
}

SceneHost* SceneRegistry::window(const QString& sceneId) const
{
    if (sceneId == mainSceneId) {
        return m_mainWindow;
    }
    return sceneId == settingsSceneId ? m_settingsWindow.data() : nullptr;
}

SceneHost* SceneRegistry::makeMainWindow()
{
    const MainWindowObjects objects = m_objects;
    const MainWindowPages pages = m_contents.pages;
    DefaultsStore& defaults = m_defaults;
    auto* host = new SceneHost(mainSceneId, m_objects.settings, [objects, pages, &defaults] {
        return new MainWindowView(objects, pages, defaults);
    });
    host->setWindowTitle(QStringLiteral("Vantrell"));
    host->resize(840, 550);
    return host;
}

SceneHost* SceneRegistry::makeSettingsWindow()
{
    const SettingsObjects objects = m_objects.settingsObjects();
    const SceneContents::SettingsFormFactory form = m_contents.settingsForm;
    auto* host = new SceneHost(settingsSceneId, m_objects.settings,
                               [objects, form] { return form(objects); });
    host->setWindowTitle(QStringLiteral("Vantrell 设置"));
    host->resize(500, 560);
    return host;
}

void SceneRegistry::makeTray()
{
    const PopoverObjects objects = popoverObjects();
    const SceneContents::PopoverFactory popover = m_contents.popover;
    m_popover = new PopoverWindow(objects, popover);
    m_tray = new TrayController(m_objects.store, m_objects.settings, QDBusConnection::sessionBus(),
                                this);
    connect(m_tray, &TrayController::activated, this, &SceneRegistry::togglePopover);
}

PopoverWindow* SceneRegistry::popover() const
{
    return m_popover;
}

void SceneRegistry::togglePopover(const QRect& anchor)
{
    if (m_popover) {
        m_popover->toggleAt(anchor);
    }
}

PopoverObjects SceneRegistry::popoverObjects()
{
    SceneActions actions{[this](const QString& sceneId) { openWindow(sceneId); },
                         [this] { Q_EMIT quitRequested(); }};
    return {m_objects.store, m_objects.floatingWindow, m_objects.settings, m_objects.updateChecker,
            std::move(actions)};
}

}  // namespace vantrell
