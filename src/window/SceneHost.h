#pragma once

#include "settings/AppearanceMode.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace vantrell {

class AppSettings;

// Holds the content of one scene (a window's whole view tree) and keeps it in the chosen
// appearance: when the appearance setting changes, the window gets the new palette and the
// content is made afresh, so state kept only in the content starts over. Setting the
// appearance it already shows touches nothing.
//
// A host is either a window of its own (the main and the settings window; closing it only
// hides it) or sits inside another window (the popover).
class SceneHost : public QWidget {
    Q_OBJECT

public:
    using ContentFactory = std::function<QWidget*()>;

    // Makes the content at once. `settings` must outlive the host.
    SceneHost(const QString& sceneId, AppSettings& settings, ContentFactory makeContent,
              QWidget* parent = nullptr);

    const QString& sceneId() const { return m_sceneId; }
    QWidget* content() const { return m_content; }
    // How often the content was made, the first time included.
    int buildCount() const { return m_buildCount; }

    // Shows the window, brings it to the front and gives it the focus.
    void present();

Q_SIGNALS:
    void contentRebuilt();

private:
    void applyAppearance();
    void build();

    QString m_sceneId;
    AppSettings& m_settings;
    ContentFactory m_makeContent;
    QPointer<QWidget> m_content;
    int m_buildCount = 0;
};

}  // namespace vantrell
