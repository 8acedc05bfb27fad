#include "views/floating/FloatingExchangeCard.h"

#include "views/drawing/ExchangeIcon.h"
#include "views/drawing/Sparkline.h"
#include "views/kit/FitLabel.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace vantrell {

namespace {

// Five cards share at most 500 pixels, so their texts shrink a little before they elide.
constexpr qreal minimumScale = 0.6;

FitLabel* tintedLabel(const QString& text, const QFont& font, ChangeTint tint, const QString& name)
{
    auto* label = new FitLabel(font, minimumScale);
    label->setObjectName(name);
    label->setText(text);
    label->setColorProvider([tint](const QWidget* w) { return changeTintColor(tint, w); });
    return label;
}

}  // namespace

FloatingExchangeCard::FloatingExchangeCard(const FloatingViewModel::ExchangeEntry& entry,
                                           QWidget* parent)
    : CardFrame(9, parent)
{
    const QString id = caseName(entry.exchange);
    setObjectName(QStringLiteral("floatingCard.") + id);
    setMinimumHeight(62);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* header = new QHBoxLayout;
    header->addWidget(new ExchangeIcon(entry.exchange, 19));
    header->setSpacing(6);
    auto* name = new FitLabel(ViewFonts::font(10, QFont::Medium), minimumScale);
    name->setObjectName(QStringLiteral("floatingCardName.") + id);
    name->setText(entry.name);
    header->addWidget(name, 1);

    auto* figures = new QVBoxLayout;
    figures->setSpacing(4);
    figures->addWidget(tintedLabel(entry.amount, ViewFonts::font(14, QFont::DemiBold),
                                   entry.amountTint, QStringLiteral("floatingCardAmount.") + id));
    if (entry.percent) {
        figures->addWidget(tintedLabel(*entry.percent, ViewFonts::font(10, QFont::Medium),
                                       entry.percentTint,
                                       QStringLiteral("floatingCardPercent.") + id));
    }

    auto* values = new QHBoxLayout;
    values->addLayout(figures, 1);
    values->addSpacing(6);
    if (!entry.sparkline.empty()) {
        auto* line = new Sparkline(entry.sparkline, VantrellPalette::gain());
        line->setFixedSize(44, 24);
        values->addWidget(line, 0, Qt::AlignCenter);
    }
    values->setAlignment(figures, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(4);
    layout->addLayout(header);
    layout->addLayout(values);
}

}  // namespace vantrell
