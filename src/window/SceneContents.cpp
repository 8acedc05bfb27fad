#include "window/SceneContents.h"

#include "window/PlaceholderPage.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace vantrell {

SceneContents SceneContents::standard()
{
    return {MainWindowPages::standard(), &SceneContents::standardPopover,
            &SceneContents::standardSettingsForm};
}

// Placeholder until the popover is built in: replace the body with the popover view, made from
// `objects` (its buttons call objects.actions.openWindow("main" / "settings") and
// objects.actions.quit()).
QWidget* SceneContents::standardPopover(const PopoverObjects& objects)
{
    auto* content = new QWidget;
    content->setFixedSize(370, 420);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(new PlaceholderPage(QStringLiteral("popover"), QStringLiteral("Vantrell")),
                      1);
    auto* openMain = new QPushButton(QStringLiteral("打开主窗口"));
    openMain->setObjectName(QStringLiteral("popover.openMainWindow"));
    auto* quit = new QPushButton(QStringLiteral("退出"));
    quit->setObjectName(QStringLiteral("popover.quit"));
    layout->addWidget(openMain);
    layout->addWidget(quit);
    const SceneActions actions = objects.actions;
    QObject::connect(openMain, &QPushButton::clicked,
                     [actions] { actions.openWindow(QStringLiteral("main")); });
    QObject::connect(quit, &QPushButton::clicked, [actions] { actions.quit(); });
    return content;
}

// Placeholder until the settings form is built in: replace the body with the form, made from
// `objects`.
QWidget* SceneContents::standardSettingsForm(const SettingsObjects& objects)
{
    Q_UNUSED(objects);
    return new PlaceholderPage(QStringLiteral("settings"), QStringLiteral("设置"));
}

}  // namespace vantrell
