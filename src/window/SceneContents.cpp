#include "window/SceneContents.h"

#include "views/popover/PopoverView.h"
#include "views/settings/SettingsForm.h"
#include "window/FloatingWindowController.h"

namespace vantrell {

SceneContents SceneContents::standard()
{
    return {MainWindowPages::standard(), &SceneContents::standardPopover,
            &SceneContents::standardSettingsForm};
}

QWidget* SceneContents::standardPopover(const PopoverObjects& objects)
{
    auto* view = new PopoverView(objects.store, objects.settings, objects.floatingWindow,
                                 objects.updateChecker);
    const SceneActions actions = objects.actions;
    QObject::connect(view, &PopoverView::openMainWindowRequested, view,
                     [actions] { actions.openWindow(QStringLiteral("main")); });
    QObject::connect(view, &PopoverView::openSettingsRequested, view,
                     [actions] { actions.openWindow(QStringLiteral("settings")); });
    QObject::connect(view, &PopoverView::quitRequested, view, [actions] { actions.quit(); });
    return view;
}

QWidget* SceneContents::standardSettingsForm(const SettingsObjects& objects)
{
    return new SettingsForm(objects.settings, objects.store, objects.updateChecker,
                            objects.viewPreferences, objects.notifier);
}

}  // namespace vantrell
