#pragma once

#include "models/AssetChartScale.h"
#include "platform/SystemTimeZone.h"
#include "settings/DisplayCurrency.h"
#include "views/analytics/AnalyticsChartData.h"
#include "views/analytics/AnalyticsRange.h"
#include "views/analytics/AnalyticsTexts.h"

#include <QChartView>
#include <QTimeZone>

#include <optional>
#include <vector>

class QAreaSeries;
class QCategoryAxis;
class QLineSeries;
class QScatterSeries;

namespace vantrell {

class AnalyticsSelectionCallout;

// The analytics page's value chart: the smoothed curve over its gradient area, per-point dots
// for short series, the start rule with the start and end marks, and the point nearest to the
// pointer with its annotation. It draws what it is given and never reads the history itself.
//
// Series are named "analyticsChart.<role>" (line, area, dots, startRule, startMark, endMark,
// selectionRule, selectedMark).
class AnalyticsChartView : public QChartView {
    Q_OBJECT

public:
    struct Content {
        std::vector<AnalyticsChartPoint> points;  // chronological, display currency
        AssetChartScale::Range yDomain;
        ValueTone tone = ValueTone::primary;
        AnalyticsRange range = AnalyticsRange::today;
        DisplayCurrency currency = DisplayCurrency::usd;
    };

    explicit AnalyticsChartView(QWidget* parent = nullptr);

    // Replaces what is drawn. The selection keeps its date and moves to the nearest new point.
    void setContent(Content content);
    // Forgets the selected date (a range change does this before the rebuild).
    void clearSelection();

    std::optional<Date> selectedDate() const { return m_selectedDate; }
    // The point nearest to the selected date; the earliest wins a tie.
    std::optional<AnalyticsChartPoint> selectedPoint() const;
    // The annotation's texts while a point is selected.
    std::optional<QStringList> annotationTexts() const;
    // Where `date` and `value` lie in the view's coordinates.
    QPointF positionOf(Date date, double value) const;

    void setTimeZone(const QTimeZone& timeZone) { m_timeZone = timeZone; }

    // As high as its minimum: the page gives the chart no more than that.
    QSize sizeHint() const override;

Q_SIGNALS:
    void selectionChanged();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void drawBackground(QPainter* painter, const QRectF& rect) override;

private:
    QLineSeries* lineSeries(const QString& role);
    QScatterSeries* markSeries(const QString& role, qreal diameter);
    void attach(QAbstractSeries* series);
    void fillSeries();
    void fillAxes();
    void restyle();
    void setSelectedDate(std::optional<Date> date);
    void showSelection();

    Content m_content;
    std::optional<Date> m_selectedDate;
    QTimeZone m_timeZone = systemTimeZone();

    QCategoryAxis* m_xAxis;
    QCategoryAxis* m_yAxis;
    QLineSeries* m_areaUpper;
    QLineSeries* m_areaLower;
    QAreaSeries* m_area;
    QLineSeries* m_line;
    QScatterSeries* m_dots;
    QLineSeries* m_startRule;
    QScatterSeries* m_startMark;
    QScatterSeries* m_endMark;
    QLineSeries* m_selectionRule;
    QScatterSeries* m_selectedMark;
    AnalyticsSelectionCallout* m_callout;
};

}  // namespace vantrell
