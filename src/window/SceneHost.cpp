#include "window/SceneHost.h"

#include "settings/AppSettings.h"
#include "views/kit/WindowAppearanceBridge.h"

#include <QVBoxLayout>

namespace vantrell {

SceneHost::SceneHost(const QString& sceneId, AppSettings& settings, ContentFactory makeContent,
                     QWidget* parent)
    : QWidget(parent),
      m_sceneId(sceneId),
      m_settings(settings),
      m_makeContent(std::move(makeContent))
{
    setObjectName(QStringLiteral("scene.") + sceneId);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    WindowAppearanceBridge::apply(window(), m_settings.appearance());
    build();
    connect(&m_settings, &AppSettings::appearanceChanged, this, &SceneHost::applyAppearance);
}

void SceneHost::present()
{
    QWidget* top = window();
    if (top->isMinimized()) {
        top->showNormal();
    } else {
        top->show();
    }
    top->raise();
    top->activateWindow();
}

void SceneHost::applyAppearance()
{
    if (!WindowAppearanceBridge::apply(window(), m_settings.appearance())) {
        return;
    }
    build();
}

void SceneHost::build()
{
    if (m_content) {
        m_content->hide();
        layout()->removeWidget(m_content);
        m_content->deleteLater();
    }
    m_content = m_makeContent();
    layout()->addWidget(m_content);
    ++m_buildCount;
    Q_EMIT contentRebuilt();
}

}  // namespace vantrell
