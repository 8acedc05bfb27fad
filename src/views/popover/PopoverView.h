#pragma once

#include "views/kit/CoalescedRender.h"
#include "views/popover/PopoverModel.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace vantrell {

class AppSettings;
class FloatingPanelSwitch;
class PopoverHeader;
class PopoverPositionList;
class PortfolioStore;
class PositionSortMenu;
class UpdateChecker;
class FitLabel;

// The tray item's popover: the header with the total, one card per configured exchange, the
// open positions with their sort menu, the update banner while a new version is known, and the
// buttons that open the main window and show or hide the floating panel. It keeps no state of
// its own: it re-renders (once per turn of the event loop) whenever the store, the settings,
// the update checker or the floating panel publish a change, keeping its scroll position.
// Opening the main or the settings window, and quitting, are left to whoever hosts it.
class PopoverView : public QWidget {
    Q_OBJECT

public:
    static constexpr int popoverWidth = 370;

    PopoverView(PortfolioStore& store, AppSettings& settings, FloatingPanelSwitch& floating,
                UpdateChecker& updateChecker, QWidget* parent = nullptr);

    const PopoverModel& model() const { return m_model; }
    // The visible height of the screen the popover opens on; nothing without a screen.
    void setVisibleScreenHeight(std::optional<int> height);
    // Rebuilds now (renders are otherwise coalesced).
    void render();
    QScrollArea* scrollArea() const { return m_scroll; }

Q_SIGNALS:
    void openMainWindowRequested();
    void openSettingsRequested();
    void quitRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void scheduleRender();
    void connectSources();
    QWidget* buildPositionsCard();
    QWidget* buildActions();
    void rebuildCards();
    void applyColours();
    void bannerClicked();
    void toggleFloating();

    QPointer<PortfolioStore> m_store;
    QPointer<AppSettings> m_settings;
    QPointer<FloatingPanelSwitch> m_floating;
    QPointer<UpdateChecker> m_updateChecker;
    std::optional<int> m_visibleScreenHeight;
    PopoverModel m_model;
    std::vector<PopoverModel::ExchangeCard> m_shownCards;
    CoalescedRender m_coalescedRender{this, [this] { render(); }};

    PopoverHeader* m_header;
    QScrollArea* m_scroll;
    QVBoxLayout* m_cards;
    FitLabel* m_positionCount;
    PositionSortMenu* m_sortMenu = nullptr;
    FitLabel* m_noPositions;
    PopoverPositionList* m_positions;
    QPushButton* m_banner;
    QPushButton* m_openMain;
    QPushButton* m_floatingButton;
};

}  // namespace vantrell
