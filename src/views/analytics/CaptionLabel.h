#pragma once

#include <QLabel>

namespace vantrell {

// A plain-text label in the secondary text colour. The colour is taken again whenever the
// palette changes, so it follows a window's light or dark look; unlike the kit's FitLabel it
// can wrap.
class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    explicit CaptionLabel(const QString& text, const QFont& font, QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyColour();

    bool m_applying = false;
};

}  // namespace vantrell
