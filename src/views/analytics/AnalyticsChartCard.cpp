#include "views/analytics/AnalyticsChartCard.h"

#include "views/analytics/AnalyticsStyle.h"
#include "views/analytics/CaptionLabel.h"
#include "views/kit/EmptyStateView.h"
#include "views/kit/ViewFonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace vantrell {

namespace {

constexpr int badgeDotSize = 6;

QPixmap dot(const QColor& color, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(badgeDotSize, badgeDotSize) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(0, 0, badgeDotSize, badgeDotSize));
    return pixmap;
}

}  // namespace

AnalyticsChartCard::AnalyticsChartCard(QWidget* parent)
    : CardFrame(10, parent),
      m_badgeDot(new QLabel),
      m_badge(new QLabel),
      m_count(new CaptionLabel(QString(), AnalyticsStyle::captionFont())),
      m_chart(new AnalyticsChartView),
      m_empty(new EmptyStateView(QStringLiteral("chart.xyaxis.line"),
                                 AnalyticsTexts::emptyTitle.toString(), QString()))
{
    setObjectName(QStringLiteral("analyticsChartCard"));
    auto* title = new QLabel(AnalyticsTexts::chartTitle.toString());
    title->setObjectName(QStringLiteral("analyticsChartTitle"));
    title->setFont(ViewFonts::font(14, QFont::DemiBold));
    m_badgeDot->setObjectName(QStringLiteral("analyticsBadgeDot"));
    m_badge->setObjectName(QStringLiteral("analyticsBadge"));
    m_badge->setTextFormat(Qt::PlainText);
    m_badge->setFont(AnalyticsStyle::captionFont());
    m_count->setObjectName(QStringLiteral("analyticsSampleCount"));
    m_empty->setObjectName(QStringLiteral("analyticsEmptyState"));
    m_empty->setMinimumHeight(230);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(title);
    auto* badge = new QHBoxLayout;
    badge->setSpacing(4);
    badge->addWidget(m_badgeDot);
    badge->addWidget(m_badge);
    header->addLayout(badge);
    header->addStretch(1);
    header->addWidget(m_count);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addLayout(header);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_empty, 1);
    auto* footnote =
        new CaptionLabel(AnalyticsTexts::footnote.toString(), AnalyticsStyle::captionFont());
    footnote->setObjectName(QStringLiteral("analyticsFootnote"));
    footnote->setWordWrap(true);
    layout->addWidget(footnote);
    setChart(std::nullopt);
}

void AnalyticsChartCard::setChart(std::optional<AnalyticsChartView::Content> content)
{
    m_chart->setVisible(content.has_value());
    m_empty->setVisible(!content.has_value());
    m_chart->setContent(content ? std::move(*content) : AnalyticsChartView::Content{});
}

void AnalyticsChartCard::setHeader(const QString& countText,
                                   const std::optional<QString>& badgeText, ValueTone tone)
{
    m_count->setText(countText);
    m_badgeDot->setVisible(badgeText.has_value());
    m_badge->setVisible(badgeText.has_value());
    if (badgeText) {
        const QColor color = AnalyticsStyle::toneColor(tone, this);
        m_badgeDot->setPixmap(dot(color, devicePixelRatioF()));
        m_badge->setText(*badgeText);
        QPalette palette = m_badge->palette();
        palette.setColor(QPalette::WindowText, color);
        m_badge->setPalette(palette);
    }
}

void AnalyticsChartCard::setEmptyDescription(const QString& description)
{
    m_empty->setContent(m_empty->symbol(), m_empty->title(), description);
}

}  // namespace vantrell
