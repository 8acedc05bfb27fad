// The main window on every section with five exchanges configured, in the light look, and the
// overview in the dark look as well.

#include "settings/AppSettings.h"
#include "settings/Preferences.h"
#include "support/ui/Screenshot.h"
#include "support/ui/ScreenshotScenes.h"
#include "support/ui/StagedScenes.h"
#include "views/kit/WindowAppearanceBridge.h"
#include "window/MainWindowView.h"
#include "window/SceneContents.h"
#include "window/SceneHost.h"

#include <QCoreApplication>

using namespace vantrell;
using namespace vantrell::test;

namespace {

QImage mainWindowScene(MainSection section, AppearanceMode mode)
{
    StagedScenes scenes;
    scenes.staged.stageAllExchanges();
    scenes.staged.setEarlierValue("28100");
    scenes.staged.settings().setAppearance(mode);
    writePreference(scenes.staged.defaults, preferences::mainSection, rawValue(section));
    scenes.staged.refresh();
    const MainWindowObjects objects = scenes.mainWindowObjects();
    const MainWindowPages pages = MainWindowPages::standard();
    SceneHost window(QStringLiteral("main"), scenes.staged.settings(),
                     [&] { return new MainWindowView(objects, pages, scenes.staged.defaults); });
    window.resize(MainWindowView::compactSize);
    window.show();
    // The pages render on the next turn of the event loop, their layouts on the one after.
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
    return Screenshot::grab(window);
}

bool registerMainWindowScenes()
{
    for (MainSection section : allMainSections) {
        ScreenshotScenes::add(QStringLiteral("main-%1-light").arg(rawValue(section)), [section] {
            return mainWindowScene(section, AppearanceMode::light);
        });
    }
    ScreenshotScenes::add(QStringLiteral("main-overview-dark"), [] {
        return mainWindowScene(MainSection::overview, AppearanceMode::dark);
    });
    return true;
}

const bool registered = registerMainWindowScenes();

}  // namespace
