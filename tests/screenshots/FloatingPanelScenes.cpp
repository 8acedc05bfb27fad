// The floating panel in each style, light and dark, with and without live data, locked and
// unlocked (an unlocked panel is shown with the pointer over it).

#include "support/StagedPortfolio.h"
#include "support/ui/Screenshot.h"
#include "support/ui/ScreenshotScenes.h"
#include "views/floating/FloatingPortfolioView.h"
#include "window/FloatingPanel.h"
#include "window/FloatingWindowController.h"

#include <QCoreApplication>
#include <QEnterEvent>

using namespace vantrell;
using namespace vantrell::test;

namespace {

QImage panelScene(FloatingDisplayStyle style, AppearanceMode mode, bool live, bool locked)
{
    StagedPortfolio staged;
    staged.stageAllExchanges();
    staged.setEarlierValue("28100");
    AppSettings& settings = staged.settings();
    settings.setFloatingStyle(style);
    settings.setAppearance(mode);
    settings.setFloatingLocked(locked);
    settings.setPerformancePeriod(PerformancePeriod::today);
    if (live) {
        staged.refresh();
    }
    FloatingWindowController controller(staged.defaults);
    controller.toggle(staged.store(), settings);
    QCoreApplication::processEvents();
    FloatingPanel& panel = *controller.panel();
    if (!locked) {
        auto* view = panel.findChild<FloatingPortfolioView*>();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), panel.mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(view, &enter);
    }
    QCoreApplication::processEvents();
    const QColor backdrop =
        mode == AppearanceMode::dark ? QColor(0x3A, 0x3F, 0x4A) : QColor(0xC9, 0xD3, 0xDF);
    return Screenshot::onBackdrop(Screenshot::grab(panel), backdrop);
}

bool registerPanelScenes()
{
    for (FloatingDisplayStyle style : allFloatingDisplayStyles) {
        for (AppearanceMode mode : {AppearanceMode::light, AppearanceMode::dark}) {
            for (bool live : {true, false}) {
                for (bool locked : {false, true}) {
                    const QString name =
                        QStringLiteral("floating-%1-%2-%3-%4")
                            .arg(toStored(style), toStored(mode),
                                 live ? QStringLiteral("live") : QStringLiteral("waiting"),
                                 locked ? QStringLiteral("locked") : QStringLiteral("unlocked"));
                    ScreenshotScenes::add(name,
                                          [=] { return panelScene(style, mode, live, locked); });
                }
            }
        }
    }
    return true;
}

const bool registered = registerPanelScenes();

}  // namespace
