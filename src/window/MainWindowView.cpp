#include "window/MainWindowView.h"

#include "platform/DefaultsStore.h"
#include "security/CredentialChangeNotifier.h"
#include "settings/Preferences.h"
#include "store/PortfolioStore.h"
#include "views/kit/VantrellPalette.h"
#include "window/FloatingPanel.h"
#include "window/FloatingWindowController.h"
#include "window/Hairline.h"
#include "window/MainNavigation.h"
#include "window/MainSidebar.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace vantrell {

MainWindowView::MainWindowView(const MainWindowObjects& objects, MainWindowPages pages,
                               DefaultsStore& defaults, QWidget* parent)
    : QWidget(parent),
      m_objects(objects),
      m_pages(std::move(pages)),
      m_defaults(defaults),
      m_sidebar(new MainSidebar),
      m_pageArea(new QWidget),
      m_toolbar(new QToolBar),
      m_updateTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("mainWindowView"));
    setMinimumSize(minimumContentSize);
    m_pageArea->setObjectName(QStringLiteral("mainWindowView.pageArea"));
    auto* pageLayout = new QVBoxLayout(m_pageArea);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    m_toolbar->setObjectName(QStringLiteral("mainWindowView.toolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->hide();
    // Pushes the page's actions to the right end, where a window's toolbar items sit.
    auto* spacer = new QWidget;
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolbarSpacer = m_toolbar->addWidget(spacer);
    pageLayout->addWidget(m_toolbar);

    auto* separator = new Hairline(Qt::Vertical);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_sidebar);
    layout->addWidget(separator);
    layout->addWidget(m_pageArea, 1);

    m_updateTimer->setSingleShot(true);
    m_updateTimer->setInterval(0);
    connect(m_updateTimer, &QTimer::timeout, this, &MainWindowView::updateNavigation);
    connect(m_sidebar, &MainSidebar::sectionPicked, this, &MainWindowView::pick);
    connect(m_sidebar, &MainSidebar::floatingToggleClicked, this,
            [this] { m_objects.floatingWindow.toggle(m_objects.store, m_objects.settings); });
    observeModel();
    updateNavigation();
    m_sidebar->setFloatingVisible(m_objects.floatingWindow.isVisible());
}

void MainWindowView::observeModel()
{
    PortfolioStore* store = &m_objects.store;
    for (auto signal :
         {&PortfolioStore::snapshotChanged, &PortfolioStore::lastUpdatedChanged,
          &PortfolioStore::isRefreshingChanged, &PortfolioStore::exchangeStatusesChanged}) {
        connect(store, signal, this, &MainWindowView::scheduleUpdate);
    }
    connect(&CredentialChangeNotifier::instance(), &CredentialChangeNotifier::credentialsChanged,
            this, &MainWindowView::scheduleUpdate);
    connect(&m_objects.floatingWindow, &FloatingWindowController::isVisibleChanged, this,
            [this] { m_sidebar->setFloatingVisible(m_objects.floatingWindow.isVisible()); });
}

void MainWindowView::scheduleUpdate()
{
    m_updateTimer->start();
}

void MainWindowView::updateNavigation()
{
    const PortfolioStore& store = m_objects.store;
    const MainSection section = MainNavigation::effectiveSection(
        readPreference(m_defaults, preferences::mainSection),
        [&store](Exchange exchange) { return store.isConfigured(exchange); });
    m_sidebar->setGroups(MainNavigation::sidebarGroups(store.configuredExchanges()), section);
    if (!m_page || section != m_shownSection) {
        showSection(section);
    }
}

void MainWindowView::showSection(MainSection section)
{
    if (m_page) {
        m_page->hide();
        m_page->deleteLater();
    }
    m_shownSection = section;
    m_page = m_pages.make(section, m_objects);
    m_pageArea->layout()->addWidget(m_page);
    showPageActions();
}

void MainWindowView::showPageActions()
{
    for (QAction* action : m_toolbar->actions()) {
        if (action != m_toolbarSpacer) {
            m_toolbar->removeAction(action);
        }
    }
    const QList<QAction*> actions = m_page->actions();
    for (QAction* action : actions) {
        m_toolbar->addAction(action);
        m_toolbar->widgetForAction(action)->setObjectName(action->objectName() +
                                                          QStringLiteral(".button"));
    }
    m_toolbar->setVisible(!actions.isEmpty());
}

// Only a row the user picked reaches here: the sidebar stays silent while it is rebuilt.
void MainWindowView::pick(MainSection section)
{
    writePreference(m_defaults, preferences::mainSection, rawValue(section));
    if (section != m_shownSection) {
        showSection(section);
    }
}

void MainWindowView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    applyCompactSizeOnce();
}

void MainWindowView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), VantrellPalette::panel(this));
}

// Qt keeps a window's top-left corner when it is resized, which is the corner to keep.
void MainWindowView::applyCompactSizeOnce()
{
    if (readPreference(m_defaults, preferences::didApplyCompactMainWindowSize)) {
        return;
    }
    QWidget* top = window();
    top->resize(top->size() - size() + compactSize);
    writePreference(m_defaults, preferences::didApplyCompactMainWindowSize, true);
}

}  // namespace vantrell
