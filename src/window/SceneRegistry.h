#pragma once

#include "window/SceneContents.h"
#include "window/SceneObjects.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>

namespace vantrell {

class DefaultsStore;
class PopoverWindow;
class SceneHost;
class TrayController;

// The program's three scenes: the main window ("main", "Vantrell", 840 × 550), the tray item
// with its popover, and the settings window ("settings", "Vantrell 设置", 500 × 560). Each
// window exists at most once: the main window from the start, the settings window from the
// first time it is opened. Each scene gets only the objects its content uses; the referral
// links reach the main window alone.
class SceneRegistry : public QObject {
    Q_OBJECT

public:
    static inline const QString mainSceneId = QStringLiteral("main");
    static inline const QString settingsSceneId = QStringLiteral("settings");

    // Makes the main window (not shown yet) and, with `withTray`, the tray item. The objects
    // and `defaults` must outlive the registry.
    SceneRegistry(const MainWindowObjects& objects, SceneContents contents, DefaultsStore& defaults,
                  bool withTray, QObject* parent = nullptr);
    ~SceneRegistry() override;

    // Shows the window of the scene, making it first if needed, and brings it to the front.
    // Unknown ids do nothing. The popover closes first.
    void openWindow(const QString& sceneId);
    // The window of the scene, or null while it has not been made.
    SceneHost* window(const QString& sceneId) const;
    PopoverWindow* popover() const;
    TrayController* tray() const { return m_tray; }

    // Opens or closes the popover under `anchor`, the tray item's place on the screen, or at the
    // pointer when that is invalid.
    void togglePopover(const QRect& anchor);

Q_SIGNALS:
    // "退出" in the popover.
    void quitRequested();

private:
    SceneHost* makeMainWindow();
    SceneHost* makeSettingsWindow();
    void makeTray();
    PopoverObjects popoverObjects();

    MainWindowObjects m_objects;
    SceneContents m_contents;
    DefaultsStore& m_defaults;
    QPointer<SceneHost> m_mainWindow;
    QPointer<SceneHost> m_settingsWindow;
    QPointer<PopoverWindow> m_popover;
    TrayController* m_tray = nullptr;
};

}  // namespace vantrell
