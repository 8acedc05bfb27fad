#pragma once

#include "views/analytics/AnalyticsChartView.h"
#include "views/kit/CardFrame.h"

#include <optional>

class QLabel;

namespace vantrell {

class CaptionLabel;
class EmptyStateView;

// The analytics page's chart card: the title with the change badge and the sample count, the
// chart or, without points, the empty state, and the footnote.
class AnalyticsChartCard : public CardFrame {
    Q_OBJECT

public:
    explicit AnalyticsChartCard(QWidget* parent = nullptr);

    // What the chart draws, from the page's last rebuild; nothing shows the empty state.
    void setChart(std::optional<AnalyticsChartView::Content> content);
    // The badge is hidden without a text. `tone` is gain or loss whenever there is one.
    void setHeader(const QString& countText, const std::optional<QString>& badgeText,
                   ValueTone tone);
    void setEmptyDescription(const QString& description);

    AnalyticsChartView* chartView() const { return m_chart; }

private:
    QLabel* m_badgeDot;
    QLabel* m_badge;
    CaptionLabel* m_count;
    AnalyticsChartView* m_chart;
    EmptyStateView* m_empty;
};

}  // namespace vantrell
