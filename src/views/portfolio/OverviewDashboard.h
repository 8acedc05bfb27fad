#pragma once

#include "models/Clock.h"
#include "views/kit/CoalescedRender.h"
#include "views/portfolio/OverviewModel.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <vector>

class QAction;
class QLabel;
class QScrollArea;

namespace vantrell {

class AdaptiveGrid;
class AppSettings;
class FitLabel;
class PortfolioStore;
class PositionRowsView;
class Sparkline;

// The overview page: the time of the last refresh, the portfolio card with the total, the
// period's change and its curve, a card per configured exchange and every position with the
// sort menu. It keeps no state: it re-renders (once per turn of the event loop) on every change
// of the store or the settings. refreshAction() is the refresh button the main window puts in
// its toolbar.
class OverviewDashboard : public QWidget {
    Q_OBJECT

public:
    // `clock` dates the curve's end; it must outlive the page.
    OverviewDashboard(PortfolioStore& store, AppSettings& settings,
                      const Clock& clock = Clock::system(), QWidget* parent = nullptr);

    QAction* refreshAction() const { return m_refreshAction; }
    const OverviewModel& model() const { return m_model; }
    void render();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void scheduleRender();
    QWidget* buildHeader();
    QWidget* buildPortfolioCard();
    QWidget* buildPositionsCard();
    void renderChrome();
    void renderCards();

    QPointer<PortfolioStore> m_store;
    QPointer<AppSettings> m_settings;
    const Clock& m_clock;
    OverviewModel m_model;
    // What the page shows now, so a render changes only what differs.
    std::optional<std::vector<OverviewModel::ExchangeCard>> m_shownCards;
    QString m_badgeStyle;
    QColor m_iconInk;
    CoalescedRender m_coalescedRender{this, [this] { render(); }};

    QAction* m_refreshAction;
    QScrollArea* m_scroll;
    QLabel* m_badge;
    FitLabel* m_lastUpdated;
    FitLabel* m_trendTitle;
    FitLabel* m_total;
    FitLabel* m_periodLine;
    Sparkline* m_sparkline;
    FitLabel* m_emptyHint;
    AdaptiveGrid* m_grid;
    PositionRowsView* m_positions;
};

}  // namespace vantrell
