#include "views/analytics/AnalyticsChartView.h"

#include "views/analytics/AnalyticsAxisTicks.h"
#include "views/analytics/AnalyticsSelectionCallout.h"
#include "views/analytics/AnalyticsStyle.h"
#include "views/analytics/CardinalCurve.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainterPath>
#include <QScatterSeries>

#include <algorithm>

namespace vantrell {

namespace {

constexpr int xTickCount = 6;
constexpr int yTickCount = 5;
constexpr int minimumRightMargin = 4;
// A single point still needs an x range to be drawn in.
constexpr double singlePointPadding = 1800;

// Mark sizes are given as areas in square points; the series want diameters.
constexpr qreal dotDiameter = 3.9;           // area 12
constexpr qreal startMarkDiameter = 6.0;     // area 28
constexpr qreal endMarkDiameter = 6.4;       // area 32
constexpr qreal selectedMarkDiameter = 8.1;  // area 52

QFont axisLabelFont()
{
    return ViewFonts::font(10);
}

QColor faded(QColor color, qreal opacity)
{
    color.setAlphaF(color.alphaF() * opacity);
    return color;
}

double xOf(Date date)
{
    return date.unixSeconds();
}

// Category axes refuse a label they already hold; neighbouring marks can read the same
// ("$100.0K" twice), so repeats get invisible suffixes.
QString uniqueLabel(QString label, const QStringList& taken)
{
    while (taken.contains(label)) {
        label += QChar(0x200B);
    }
    return label;
}

void clearCategories(QCategoryAxis* axis)
{
    const QStringList labels = axis->categoriesLabels();
    for (const QString& label : labels) {
        axis->remove(label);
    }
}

void styleAxis(QCategoryAxis* axis, const QWidget* view)
{
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setLabelsFont(axisLabelFont());
    axis->setLabelsColor(VantrellPalette::secondary(view));
    axis->setGridLinePen(QPen(faded(VantrellPalette::divider(view), 0.32), 1));
    axis->setLinePen(QPen(faded(VantrellPalette::divider(view), 0.55), 1));
    axis->setTitleVisible(false);
}

}  // namespace

AnalyticsChartView::AnalyticsChartView(QWidget* parent)
    : QChartView(new QChart, parent),
      m_xAxis(new QCategoryAxis),
      m_yAxis(new QCategoryAxis),
      m_areaUpper(new QLineSeries(this)),
      m_areaLower(new QLineSeries(this)),
      m_area(new QAreaSeries(m_areaUpper, m_areaLower)),
      m_line(lineSeries(QStringLiteral("line"))),
      m_dots(markSeries(QStringLiteral("dots"), dotDiameter)),
      m_startRule(lineSeries(QStringLiteral("startRule"))),
      m_startMark(markSeries(QStringLiteral("startMark"), startMarkDiameter)),
      m_endMark(markSeries(QStringLiteral("endMark"), endMarkDiameter)),
      m_selectionRule(lineSeries(QStringLiteral("selectionRule"))),
      m_selectedMark(markSeries(QStringLiteral("selectedMark"), selectedMarkDiameter)),
      m_callout(new AnalyticsSelectionCallout(chart()))
{
    setObjectName(QStringLiteral("analyticsChart"));
    QChart* chart = this->chart();
    chart->legend()->hide();
    chart->setBackgroundVisible(false);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(0, 4, minimumRightMargin, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->addAxis(m_xAxis, Qt::AlignBottom);
    chart->addAxis(m_yAxis, Qt::AlignLeft);
    m_yAxis->setLineVisible(false);  // the value axis has grid lines but no ticks
    m_area->setObjectName(QStringLiteral("analyticsChart.area"));
    // Drawing order: area, curve, dots, start rule and marks, selection.
    for (QAbstractSeries* series :
         std::initializer_list<QAbstractSeries*>{m_area, m_line, m_dots, m_startRule, m_startMark,
                                                 m_endMark, m_selectionRule, m_selectedMark}) {
        attach(series);
    }
    m_callout->hide();
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    setBackgroundBrush(Qt::NoBrush);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    setMinimumHeight(250);
    connect(chart, &QChart::plotAreaChanged, this, &AnalyticsChartView::showSelection);
    restyle();
}

QLineSeries* AnalyticsChartView::lineSeries(const QString& role)
{
    auto* series = new QLineSeries(this);
    series->setObjectName(QStringLiteral("analyticsChart.") + role);
    return series;
}

QScatterSeries* AnalyticsChartView::markSeries(const QString& role, qreal diameter)
{
    auto* series = new QScatterSeries(this);
    series->setObjectName(QStringLiteral("analyticsChart.") + role);
    series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    series->setMarkerSize(diameter);
    series->setPen(Qt::NoPen);
    return series;
}

void AnalyticsChartView::attach(QAbstractSeries* series)
{
    chart()->addSeries(series);
    series->attachAxis(m_xAxis);
    series->attachAxis(m_yAxis);
}

void AnalyticsChartView::setContent(Content content)
{
    m_content = std::move(content);
    fillAxes();
    fillSeries();
    restyle();
    showSelection();
}

void AnalyticsChartView::fillSeries()
{
    const std::vector<AnalyticsChartPoint>& points = m_content.points;
    std::vector<QPointF> raw;
    raw.reserve(points.size());
    for (const AnalyticsChartPoint& point : points) {
        raw.emplace_back(xOf(point.date), point.value);
    }
    const std::vector<QPointF> curve = CardinalCurve::smoothed(
        raw, CardinalCurve::chartTension, CardinalCurve::subdivisionsFor(raw.size()));
    const QList<QPointF> curveList(curve.begin(), curve.end());
    m_line->replace(curveList);
    m_areaUpper->replace(curveList);
    if (raw.empty()) {
        for (QXYSeries* series : std::initializer_list<QXYSeries*>{m_areaLower, m_dots, m_startRule,
                                                                   m_startMark, m_endMark}) {
            series->clear();
        }
        return;
    }
    const double lower = m_content.yDomain.lower;
    m_areaLower->replace({{raw.front().x(), lower}, {raw.back().x(), lower}});
    m_dots->replace(points.size() <= AnalyticsChartData::largestDottedSeries
                        ? QList<QPointF>(raw.begin(), raw.end())
                        : QList<QPointF>());
    m_startRule->replace({{m_xAxis->min(), raw.front().y()}, {m_xAxis->max(), raw.front().y()}});
    m_startMark->replace({raw.front()});
    m_endMark->replace({raw.back()});
}

void AnalyticsChartView::fillAxes()
{
    clearCategories(m_xAxis);
    clearCategories(m_yAxis);
    if (m_content.points.empty()) {
        return;
    }
    Date start = m_content.points.front().date;
    Date end = m_content.points.back().date;
    if (!(end > start)) {
        start = start.addingSeconds(-singlePointPadding);
        end = end.addingSeconds(singlePointPadding);
    }
    m_xAxis->setRange(xOf(start), xOf(end));
    m_xAxis->setStartValue(xOf(start));
    const QLocale locale;
    const QFontMetrics metrics(axisLabelFont());
    int widestLabel = 0;
    for (Date tick : AnalyticsAxisTicks::timeTicks(start, end, xTickCount, m_timeZone)) {
        const QString label = AnalyticsTexts::axisLabel(tick, m_content.range, locale, m_timeZone);
        widestLabel = std::max(widestLabel, metrics.horizontalAdvance(label));
        m_xAxis->append(uniqueLabel(label, m_xAxis->categoriesLabels()), xOf(tick));
    }
    // Labels sit centred on their marks: a mark at the right end needs half a label (and the
    // label item's own padding) of room.
    QMargins margins = chart()->margins();
    margins.setRight(std::max(minimumRightMargin, widestLabel / 2 + 4));
    chart()->setMargins(margins);
    const AssetChartScale::Range& domain = m_content.yDomain;
    m_yAxis->setRange(domain.lower, domain.upper);
    m_yAxis->setStartValue(domain.lower);
    for (double value : AnalyticsAxisTicks::valueTicks(domain.lower, domain.upper, yTickCount)) {
        m_yAxis->append(uniqueLabel(AnalyticsTexts::compactAxisValue(value, m_content.currency),
                                    m_yAxis->categoriesLabels()),
                        value);
    }
}

void AnalyticsChartView::restyle()
{
    const QColor trend = AnalyticsStyle::toneColor(m_content.tone, this);
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, faded(trend, 0.22));
    gradient.setColorAt(1, faded(trend, 0.015));
    m_area->setBrush(gradient);
    m_area->setPen(Qt::NoPen);
    m_line->setPen(QPen(trend, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    m_dots->setColor(faded(trend, 0.75));
    for (QScatterSeries* mark : {m_startMark, m_endMark, m_selectedMark}) {
        mark->setColor(trend);
        mark->setPen(Qt::NoPen);
    }
    m_dots->setPen(Qt::NoPen);
    QPen startPen(faded(VantrellPalette::secondary(this), 0.4), 1);
    startPen.setDashPattern({4, 4});
    m_startRule->setPen(startPen);
    m_selectionRule->setPen(QPen(faded(VantrellPalette::secondary(this), 0.65), 1));
    styleAxis(m_xAxis, this);
    styleAxis(m_yAxis, this);
    m_callout->setColors({faded(VantrellPalette::card(this), 0.92), VantrellPalette::divider(this),
                          VantrellPalette::secondary(this), VantrellPalette::primary(this)});
}

std::optional<AnalyticsChartPoint> AnalyticsChartView::selectedPoint() const
{
    if (!m_selectedDate) {
        return std::nullopt;
    }
    AnalyticsChartData data;
    data.points = m_content.points;
    const std::optional<std::size_t> index = data.nearestPoint(*m_selectedDate);
    if (!index) {
        return std::nullopt;
    }
    return m_content.points[*index];
}

std::optional<QStringList> AnalyticsChartView::annotationTexts() const
{
    if (!m_callout->isVisible()) {
        return std::nullopt;
    }
    return QStringList{m_callout->dateText(), m_callout->amountText()};
}

QPointF AnalyticsChartView::positionOf(Date date, double value) const
{
    const QPointF inChart = chart()->mapToPosition(QPointF(xOf(date), value), m_line);
    return mapFromScene(chart()->mapToScene(inChart));
}

void AnalyticsChartView::clearSelection()
{
    setSelectedDate(std::nullopt);
}

void AnalyticsChartView::setSelectedDate(std::optional<Date> date)
{
    if (date == m_selectedDate) {
        return;
    }
    m_selectedDate = date;
    showSelection();
    Q_EMIT selectionChanged();
}

void AnalyticsChartView::showSelection()
{
    const std::optional<AnalyticsChartPoint> point = selectedPoint();
    if (!point) {
        m_selectionRule->clear();
        m_selectedMark->clear();
        m_callout->hide();
        return;
    }
    const double x = xOf(point->date);
    m_selectionRule->replace({{x, m_content.yDomain.lower}, {x, m_content.yDomain.upper}});
    m_selectedMark->replace({{x, point->value}});
    m_callout->setTexts(
        AnalyticsTexts::selectionDateLabel(point->date, m_content.range, QLocale(), m_timeZone),
        AnalyticsTexts::selectionValueText(point->value, m_content.currency));
    const QPointF anchor = chart()->mapToPosition(QPointF(x, point->value), m_line);
    m_callout->place(anchor, QRectF(QPointF(0, 0), chart()->size()));
    m_callout->show();
}

QSize AnalyticsChartView::sizeHint() const
{
    // The graphics view's own hint is the scene's size, which follows each resize: a chart
    // once made taller by a relayout would ask to stay that tall.
    return {QChartView::sizeHint().width(), minimumHeight()};
}

void AnalyticsChartView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF inChart = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    if (!m_content.points.empty() && chart()->plotArea().contains(inChart)) {
        setSelectedDate(Date::fromUnixSeconds(chart()->mapToValue(inChart, m_line).x()));
    } else {
        setSelectedDate(std::nullopt);
    }
    QChartView::mouseMoveEvent(event);
}

void AnalyticsChartView::leaveEvent(QEvent* event)
{
    setSelectedDate(std::nullopt);
    QChartView::leaveEvent(event);
}

void AnalyticsChartView::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    showSelection();
}

void AnalyticsChartView::changeEvent(QEvent* event)
{
    QChartView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        restyle();
    }
}

void AnalyticsChartView::drawBackground(QPainter* painter, const QRectF&)
{
    QPainterPath plot;
    plot.addRoundedRect(chart()->plotArea(), 6, 6);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(plot, faded(VantrellPalette::primary(this), 0.018));
    painter->restore();
}

}  // namespace vantrell
