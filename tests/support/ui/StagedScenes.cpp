#include "support/ui/StagedScenes.h"

namespace vantrell::test {

StagedScenes::StagedScenes()
    : updateChecker(UpdaterEnvironment{staged.transport, staged.defaults, staged.clock,
                                       updateDriver, QUrl()}),
      referralLinks(staged.defaults, staged.transport, QUrl())
{
}

StagedScenes::~StagedScenes()
{
    floatingWindow.hide();
}

MainWindowObjects StagedScenes::mainWindowObjects()
{
    return {staged.store(), floatingWindow,  staged.settings(), updateChecker,
            referralLinks,  viewPreferences, staged.notifier,   staged.defaults};
}

}  // namespace vantrell::test
