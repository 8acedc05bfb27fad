#pragma once

#include "window/MainSection.h"
#include "window/MainWindowPages.h"
#include "window/SceneObjects.h"

#include <QPointer>
#include <QWidget>

class QAction;
class QTimer;
class QToolBar;

namespace vantrell {

class DefaultsStore;
class MainSidebar;

// The content of the main window: the sidebar beside the page of the shown section.
//
// The shown section is the one stored under "mainSection" (see MainNavigation); the key is
// written only when the user picks a row. The sidebar and the shown section are worked out
// again after every change the store publishes and after every credential write; the page is
// made again only when the shown section changes, so a page keeps its view state (typed
// filters, chosen ranges) across refreshes.
//
// The toolbar above the page carries the page's own actions (QWidget::actions()), and hides
// when the page has none.
//
// The first time the view is shown for a user its window gets the compact size 840 × 550 with
// its top-left corner kept; "didApplyCompactMainWindowSizeV1" remembers that it happened.
class MainWindowView : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize compactSize{840, 550};
    static constexpr QSize minimumContentSize{760, 500};

    // The objects and `defaults` must outlive the view.
    MainWindowView(const MainWindowObjects& objects, MainWindowPages pages, DefaultsStore& defaults,
                   QWidget* parent = nullptr);

    MainSection shownSection() const { return m_shownSection; }
    QWidget* page() const { return m_page; }
    MainSidebar* sidebar() const { return m_sidebar; }
    QToolBar* toolbar() const { return m_toolbar; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void observeModel();
    void scheduleUpdate();
    void updateNavigation();
    void showSection(MainSection section);
    void pick(MainSection section);
    void applyCompactSizeOnce();
    void showPageActions();

    MainWindowObjects m_objects;
    MainWindowPages m_pages;
    DefaultsStore& m_defaults;
    MainSidebar* m_sidebar;
    QWidget* m_pageArea;
    QToolBar* m_toolbar;
    QAction* m_toolbarSpacer = nullptr;
    QPointer<QWidget> m_page;
    MainSection m_shownSection = MainSection::overview;
    QTimer* m_updateTimer;
};

}  // namespace vantrell
