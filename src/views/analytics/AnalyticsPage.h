#pragma once

#include "models/AssetChartRevision.h"
#include "models/Clock.h"
#include "platform/SystemTimeZone.h"
#include "views/analytics/AnalyticsChartData.h"
#include "views/analytics/AnalyticsRange.h"
#include "views/kit/CoalescedRender.h"

#include <QPointer>
#include <QScrollArea>
#include <QTimeZone>

#include <array>
#include <optional>

class QGridLayout;
class QPushButton;

namespace vantrell {

class AnalyticsChartCard;
class AnalyticsChartView;
class AnalyticsMetricCard;
class AppSettings;
class CapitalFlowsDialog;
class ExportErrorAlert;
class PortfolioStore;
class SegmentedControl;
class ViewPreferences;

// The analytics page: the total value charted over a chosen range, four figure cards, the
// capital-flow sheet and the history export.
//
// The series is rebuilt only when the page comes on screen, the range changes, the chart's
// revision (update time, total, liveness) changes, the data becomes or stops being fresh and
// complete, the display currency or its rates change, the flow setting changes, or the number
// of capital flows changes. Everything else only re-reads the cached series.
class AnalyticsPage : public QScrollArea {
    Q_OBJECT

public:
    // The store, settings and preferences must outlive the page; `clock` is the sheet's.
    AnalyticsPage(PortfolioStore& store, AppSettings& settings, ViewPreferences& preferences,
                  const Clock& clock = Clock::system(), QWidget* parent = nullptr);
    ~AnalyticsPage() override;

    AnalyticsRange range() const { return m_range; }
    // What the page drew at its last rebuild.
    const AnalyticsChartData& chartData() const { return m_data; }
    AnalyticsChartView* chartView() const;
    // The open capital-flow sheet, or null.
    CapitalFlowsDialog* capitalFlowsSheet() const;
    // Where "today" begins; the system's zone unless set.
    void setTimeZone(const QTimeZone& timeZone);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* header();
    QWidget* rangeRow();
    QGridLayout* cardGrid();
    void layOutCards(int width);
    void applyBackground();

    void selectRange(int index);
    void storeChanged();
    void scheduleRebuild();
    void rebuild();
    void rememberTriggers();
    void render();
    void openCapitalFlows();

    QPointer<PortfolioStore> m_store;
    QPointer<AppSettings> m_settings;
    QPointer<ViewPreferences> m_preferences;
    const Clock& m_clock;
    QTimeZone m_timeZone = systemTimeZone();

    AnalyticsRange m_range = AnalyticsRange::today;
    AnalyticsChartData m_data;
    // The trigger values last seen, to rebuild only when one of them changes.
    AssetChartRevision m_revision;
    bool m_fresh = false;
    std::size_t m_flowCount = 0;
    CoalescedRender m_coalescedRebuild{this, [this] { rebuild(); }};

    QPushButton* m_flowsButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    SegmentedControl* m_rangePicker = nullptr;
    std::array<AnalyticsMetricCard*, 4> m_cards{};
    QGridLayout* m_cardGrid = nullptr;
    int m_cardColumns = 0;
    AnalyticsChartCard* m_chartCard = nullptr;
    ExportErrorAlert* m_alert = nullptr;
    QPointer<CapitalFlowsDialog> m_flowsSheet;
};

}  // namespace vantrell
