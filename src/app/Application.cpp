#include "app/Application.h"

#include "app/IdleMemoryRelease.h"

#include "files/PortfolioDiskWriter.h"
#include "models/Clock.h"
#include "networking/NetworkHttpTransport.h"
#include "platform/Notifier.h"
#include "platform/SettingsDefaultsStore.h"
#include "platform/SupportFolder.h"
#include "platform/WakeMonitor.h"
#include "security/LocalCredentialStore.h"
#include "services/BuildConfiguration.h"
#include "services/ReferralLinkStore.h"
#include "services/UpdateChecker.h"
#include "settings/AppSettings.h"
#include "settings/ViewPreferences.h"
#include "store/PortfolioStore.h"
#include "window/FloatingPanel.h"
#include "window/FloatingWindowController.h"
#include "window/SceneHost.h"
#include "window/SceneRegistry.h"

#include <QApplication>
#include <QSystemTrayIcon>

namespace vantrell {

namespace {

std::shared_ptr<const ExchangeProvider> connectorOf(const LocalCredentialStore& credentials,
                                                    Exchange exchange)
{
    return credentials.provider(exchange);
}

}  // namespace

Application::Application(SceneContents contents, QObject* parent)
    : QObject(parent),
      m_defaults(standardDefaults()),
      m_notifier(Notifier::create()),
      m_wakeMonitor(WakeMonitor::create())
{
    PortfolioStore::Services services(m_defaults, Clock::system(), *m_notifier,
                                      SupportFolder::standard());
    services.savePrompt = &m_savePrompt;
    services.wakeMonitor = m_wakeMonitor.get();
    m_store = std::make_unique<PortfolioStore>(LocalCredentialStore::shared(), connectorOf,
                                               std::move(services), true);
    m_idleMemoryRelease = std::make_unique<IdleMemoryRelease>(*m_store, idleMemoryReleaseDelay);
    m_floatingWindow = std::make_unique<FloatingWindowController>(m_defaults);
    NetworkHttpTransport& transport = NetworkHttpTransport::shared();
    m_settings = std::make_unique<AppSettings>(m_defaults, transport, Clock::system());
    m_updateChecker = std::make_unique<UpdateChecker>(
        UpdaterEnvironment{transport, m_defaults, Clock::system(), m_updateDialogs,
                           BuildConfiguration::updateFeedURL()});
    m_referralLinks = std::make_unique<ReferralLinkStore>(m_defaults, transport,
                                                          BuildConfiguration::referralEndpoint());
    m_viewPreferences = std::make_unique<ViewPreferences>(m_defaults);

    const bool withTray = QSystemTrayIcon::isSystemTrayAvailable();
    // Without a tray nothing would be left to reach or end the program once its windows close.
    QApplication::setQuitOnLastWindowClosed(!withTray);
    const MainWindowObjects objects{*m_store,         *m_floatingWindow, *m_settings,
                                    *m_updateChecker, *m_referralLinks,  *m_viewPreferences,
                                    *m_notifier,      m_defaults};
    m_scenes = std::make_unique<SceneRegistry>(objects, std::move(contents), m_defaults, withTray);
    connect(m_scenes.get(), &SceneRegistry::quitRequested, this, &Application::quit);
}

// Windows first, while everything they show still exists; then the objects, the store last.
Application::~Application()
{
    m_scenes.reset();
    m_idleMemoryRelease.reset();
    m_floatingWindow.reset();
    m_referralLinks.reset();
    m_updateChecker.reset();
    m_viewPreferences.reset();
    m_store.reset();
    m_settings.reset();
}

void Application::start()
{
    m_scenes->openWindow(SceneRegistry::mainSceneId);
    // The export's save dialog opens over the main window.
    m_savePrompt.setWindow(m_scenes->window(SceneRegistry::mainSceneId));
}

void Application::activate()
{
    m_scenes->openWindow(SceneRegistry::mainSceneId);
}

void Application::quit()
{
    QCoreApplication::exit(0);
}

bool Application::windDown()
{
    const bool drained = PortfolioDiskWriter::shared().flush(writeDrainTimeout);
    NetworkHttpTransport::shared().shutDown();
    return drained;
}

}  // namespace vantrell
