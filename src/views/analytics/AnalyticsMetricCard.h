#pragma once

#include "views/analytics/AnalyticsTexts.h"
#include "views/kit/CardFrame.h"

namespace vantrell {

class CaptionLabel;
class FitLabel;

// One figure of the analytics page: a caption over a value that shrinks to fit its card.
class AnalyticsMetricCard : public CardFrame {
    Q_OBJECT

public:
    // Children are named "<name>.title" and "<name>.value".
    explicit AnalyticsMetricCard(const QString& name, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    void setValue(const QString& text, ValueTone tone);

    QString title() const;
    QString value() const;
    // The colour the value paints with now.
    QColor valueColor() const;

private:
    CaptionLabel* m_title;
    FitLabel* m_value;
    ValueTone m_tone = ValueTone::primary;
};

}  // namespace vantrell
