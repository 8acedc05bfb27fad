#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

#include <functional>

namespace vantrell {

// A one-line plain-text label that shrinks its font, down to a minimum scale factor of its
// pixel size, before it elides: the design's "minimum scale factor". Its text is never read as
// markup. The colour is asked for at paint time, so it follows a window's light or dark look.
//
//     auto* total = new FitLabel(ViewFonts::font(18, QFont::DemiBold), 0.75);
//     total->setColorProvider([](const QWidget* w) { return VantrellPalette::primary(w); });
class FitLabel : public QWidget {
    Q_OBJECT

public:
    using ColorProvider = std::function<QColor(const QWidget*)>;

    explicit FitLabel(const QFont& font = QFont(), qreal minimumScaleFactor = 1.0,
                      QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    qreal minimumScaleFactor() const { return m_minimumScaleFactor; }
    void setMinimumScaleFactor(qreal factor);
    void setColorProvider(ColorProvider provider);
    // The colour the label paints with now.
    QColor color() const;
    void setAlignment(Qt::Alignment alignment);

    // The pixel size the text is drawn at within `width`: the font's size stepped down one
    // pixel at a time until the text fits, never below the minimum scale factor.
    int fittedPixelSize(int width) const;
    // The text as it is drawn within `width` (elided when even the smallest size is too wide).
    QString displayedText(int width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFont fontAt(int pixelSize) const;
    int basePixelSize() const;
    int minimumPixelSize() const;

    QString m_text;
    qreal m_minimumScaleFactor;
    ColorProvider m_colorProvider;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace vantrell
