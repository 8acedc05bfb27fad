#include "app/Application.h"
#include "app/QtTranslations.h"
#include "app/QuitSignalWatcher.h"
#include "app/SingleInstance.h"
#include "platform/AllocatorTuning.h"
#include "platform/SupportFolder.h"
#include "services/BuildConfiguration.h"
#include "settings/FormattingLocale.h"
#include "views/kit/WindowAppearanceBridge.h"
#include "window/AppIcon.h"

#include <QApplication>

#include <cstdlib>

using namespace vantrell;

namespace {

// The guard's lock sits in the data folder it protects; without one, in a place of the user's.
std::unique_ptr<SingleInstance> guardOf(const SupportFolder& folder)
{
    if (folder.create()) {
        return SingleInstance::forDataFolder(folder.path());
    }
    return SingleInstance::forUser();
}

}  // namespace

int main(int argc, char** argv)
{
    tuneAllocatorForLongRunningProcess();
    QCoreApplication::setOrganizationName(QStringLiteral("Vantrell"));
    QCoreApplication::setApplicationName(QStringLiteral("Vantrell"));
    QCoreApplication::setApplicationVersion(BuildConfiguration::version());
    QApplication app(argc, argv);
    FormattingLocale::install();
    const QtTranslations qtTexts;
    WindowAppearanceBridge::installStyle();
    QGuiApplication::setDesktopFileName(QStringLiteral("vantrell"));
    QApplication::setWindowIcon(AppIcon::icon());

    const std::unique_ptr<SingleInstance> instance = guardOf(SupportFolder::standard());
    if (instance->claim() == SingleInstance::Role::secondary) {
        return 0;
    }
    QuitSignalWatcher quitSignals;
    bool drained = true;
    int exitCode = 0;
    {
        Application application(SceneContents::standard());
        QObject::connect(&quitSignals, &QuitSignalWatcher::quitRequested, &application,
                         &Application::quit);
        QObject::connect(instance.get(), &SingleInstance::activationRequested, &application,
                         &Application::activate);
        QObject::connect(&app, &QCoreApplication::aboutToQuit, &application,
                         [&] { drained = application.windDown(); });
        application.start();
        exitCode = QApplication::exec();
    }
    if (!drained) {
        // The writer is stuck on the disk; waiting for it at exit would hang for good.
        std::_Exit(exitCode);
    }
    return exitCode;
}
