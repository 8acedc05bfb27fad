#include "window/MainWindowView.h"

#include "settings/Preferences.h"
#include "support/ui/StagedScenes.h"
#include "views/portfolio/PositionsListView.h"
#include "window/MainSidebar.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

QString storedSection(const DefaultsStore& defaults)
{
    return readPreference(defaults, preferences::mainSection);
}

QWidget* namedPage(MainSection section)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page.") + rawValue(section));
    return page;
}

class MainWindowViewTest : public ::testing::Test {
protected:
    // Pages that say which section they are and count how often they were made.
    MainWindowPages countingPages()
    {
        MainWindowPages pages;
        pages.exchangeDetail = [this](const MainWindowObjects&, Exchange exchange) {
            ++made[sectionOf(exchange)];
            return namedPage(sectionOf(exchange));
        };
        pages.positions = [this](const MainWindowObjects&) {
            ++made[MainSection::positions];
            return namedPage(MainSection::positions);
        };
        return pages;
    }

    std::unique_ptr<MainWindowView> makeView()
    {
        auto view = std::make_unique<MainWindowView>(scenes.mainWindowObjects(), countingPages(),
                                                     scenes.staged.defaults);
        QCoreApplication::processEvents();
        return view;
    }

    static QString pageName(const MainWindowView& view) { return view.page()->objectName(); }

    static void click(MainSidebar& sidebar, MainSection section)
    {
        QListWidget* list = sidebar.list();
        QListWidgetItem* item = sidebar.itemOf(section);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
    }

    StagedScenes scenes;
    std::map<MainSection, int> made;
};

TEST_F(MainWindowViewTest, UnconfiguredStoredExchangeShowsTheOverviewUntilConfigured)
{
    scenes.staged.stage(Exchange::binance, "100");
    writePreference(scenes.staged.defaults, preferences::mainSection, QStringLiteral("okx"));
    const auto view = makeView();

    EXPECT_EQ(view->shownSection(), MainSection::overview);
    EXPECT_EQ(view->sidebar()->selectedSection(), MainSection::overview);
    EXPECT_EQ(view->sidebar()->itemOf(MainSection::okx), nullptr);
    EXPECT_NE(view->sidebar()->itemOf(MainSection::binance), nullptr);
    EXPECT_EQ(storedSection(scenes.staged.defaults), "okx");

    // OKX gets keys; the page comes back with the store's next change, without a click.
    scenes.staged.stage(Exchange::okx, "200");
    scenes.staged.refresh();
    QCoreApplication::processEvents();
    EXPECT_EQ(view->shownSection(), MainSection::okx);
    EXPECT_EQ(pageName(*view), "page.okx");
    EXPECT_EQ(view->sidebar()->selectedSection(), MainSection::okx);
    EXPECT_EQ(storedSection(scenes.staged.defaults), "okx");
}

TEST_F(MainWindowViewTest, UnknownStoredSectionShowsTheOverviewAndStaysStored)
{
    writePreference(scenes.staged.defaults, preferences::mainSection, QStringLiteral("Overview"));
    const auto view = makeView();
    EXPECT_EQ(view->shownSection(), MainSection::overview);
    EXPECT_EQ(pageName(*view), "emptyPage.overview");
    EXPECT_EQ(
        view->sidebar()->listedSections(),
        (std::vector{MainSection::overview, MainSection::exchangeManagement, MainSection::assets,
                     MainSection::positions, MainSection::analytics, MainSection::settings}));
    scenes.staged.refresh();
    QCoreApplication::processEvents();
    EXPECT_EQ(storedSection(scenes.staged.defaults), "Overview");
}

TEST_F(MainWindowViewTest, ClickingARowStoresItsSection)
{
    scenes.staged.stage(Exchange::bybit, "100");
    scenes.staged.refresh();
    const auto view = makeView();
    view->show();
    click(*view->sidebar(), MainSection::bybit);
    EXPECT_EQ(storedSection(scenes.staged.defaults), "bybit");
    EXPECT_EQ(view->shownSection(), MainSection::bybit);
    click(*view->sidebar(), MainSection::analytics);
    EXPECT_EQ(storedSection(scenes.staged.defaults), "analytics");
    EXPECT_EQ(pageName(*view), "emptyPage.analytics");
}

TEST_F(MainWindowViewTest, TypedFilterSurvivesRefreshesAndIsGoneWhenComingBack)
{
    scenes.staged.stage(Exchange::binance, "100");
    writePreference(scenes.staged.defaults, preferences::mainSection, QStringLiteral("positions"));
    MainWindowPages pages = MainWindowPages::standard();
    pages.positions = [this, make = pages.positions](const MainWindowObjects& objects) {
        ++made[MainSection::positions];
        return make(objects);
    };
    const auto view =
        std::make_unique<MainWindowView>(scenes.mainWindowObjects(), pages, scenes.staged.defaults);
    view->show();
    QCoreApplication::processEvents();
    const QPointer<PositionsListView> page = qobject_cast<PositionsListView*>(view->page());
    ASSERT_TRUE(page);
    auto* search = page->findChild<QLineEdit*>(QStringLiteral("filterSearchField"));
    ASSERT_NE(search, nullptr);
    QTest::keyClicks(search, QStringLiteral("btc"));
    ASSERT_EQ(page->filter().query, "btc");

    for (int i = 0; i < 3; ++i) {
        scenes.staged.refresh();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(view->page(), page.data());
    EXPECT_EQ(page->filter().query, "btc");
    EXPECT_EQ(search->text(), "btc");
    EXPECT_EQ(made[MainSection::positions], 1);

    click(*view->sidebar(), MainSection::overview);
    click(*view->sidebar(), MainSection::positions);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(page);
    EXPECT_EQ(made[MainSection::positions], 2);
    auto* fresh = qobject_cast<PositionsListView*>(view->page());
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->filter().query.isEmpty());
}

TEST_F(MainWindowViewTest, ToolbarCarriesTheOverviewRefreshOnly)
{
    MainWindowView view(scenes.mainWindowObjects(), MainWindowPages::standard(),
                        scenes.staged.defaults);
    view.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(view.shownSection(), MainSection::overview);
    EXPECT_TRUE(view.toolbar()->isVisible());
    EXPECT_NE(view.toolbar()->findChild<QWidget*>(QStringLiteral("overviewRefreshAction.button")),
              nullptr);

    click(*view.sidebar(), MainSection::analytics);
    EXPECT_FALSE(view.toolbar()->isVisible());
    click(*view.sidebar(), MainSection::overview);
    EXPECT_TRUE(view.toolbar()->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int refreshButtons = 0;
    for (QAction* action : view.toolbar()->actions()) {
        refreshButtons += action->objectName() == "overviewRefreshAction" ? 1 : 0;
    }
    EXPECT_EQ(refreshButtons, 1);
}

TEST_F(MainWindowViewTest, CompactSizeIsAppliedOncePerUser)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(
        new MainWindowView(scenes.mainWindowObjects(), countingPages(), scenes.staged.defaults));
    window.resize(1000, 700);
    window.move(40, 30);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(840, 550));
    EXPECT_EQ(window.pos(), QPoint(40, 30));
    EXPECT_TRUE(readPreference(scenes.staged.defaults, preferences::didApplyCompactMainWindowSize));

    // Another window, later: its size is left alone.
    QWidget second;
    auto* secondLayout = new QVBoxLayout(&second);
    secondLayout->addWidget(
        new MainWindowView(scenes.mainWindowObjects(), countingPages(), scenes.staged.defaults));
    second.resize(1000, 700);
    second.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(second.size(), QSize(1000, 700));
    second.resize(300, 200);
    EXPECT_GE(second.width(), 760);
    EXPECT_GE(second.height(), 500);
}

TEST_F(MainWindowViewTest, FloatingToggleFollowsThePanel)
{
    const auto view = makeView();
    QPushButton* toggle = view->sidebar()->floatingToggle();
    EXPECT_EQ(toggle->text(), "打开悬浮窗");
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(scenes.floatingWindow.isVisible());
    EXPECT_EQ(toggle->text(), "关闭悬浮窗");
    scenes.floatingWindow.hide();
    EXPECT_EQ(toggle->text(), "打开悬浮窗");
}

}  // namespace
