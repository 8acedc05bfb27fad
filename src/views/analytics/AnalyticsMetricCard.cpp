#include "views/analytics/AnalyticsMetricCard.h"

#include "views/analytics/AnalyticsStyle.h"
#include "views/analytics/CaptionLabel.h"
#include "views/kit/FitLabel.h"
#include "views/kit/ViewFonts.h"

#include <QVBoxLayout>

namespace vantrell {

AnalyticsMetricCard::AnalyticsMetricCard(const QString& name, QWidget* parent)
    : CardFrame(10, parent),
      m_title(new CaptionLabel(QString(), AnalyticsStyle::captionFont())),
      m_value(new FitLabel(ViewFonts::font(16, QFont::DemiBold), 0.72))
{
    setObjectName(name);
    m_title->setObjectName(name + QStringLiteral(".title"));
    m_value->setObjectName(name + QStringLiteral(".value"));
    m_value->setColorProvider(
        [this](const QWidget* widget) { return AnalyticsStyle::toneColor(m_tone, widget); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(5);
    layout->addWidget(m_title);
    layout->addWidget(m_value);
}

void AnalyticsMetricCard::setTitle(const QString& title)
{
    m_title->setText(title);
}

void AnalyticsMetricCard::setValue(const QString& text, ValueTone tone)
{
    m_tone = tone;
    m_value->setText(text);
    m_value->update();
}

QString AnalyticsMetricCard::title() const
{
    return m_title->text();
}

QString AnalyticsMetricCard::value() const
{
    return m_value->text();
}

QColor AnalyticsMetricCard::valueColor() const
{
    return m_value->color();
}

}  // namespace vantrell
