#pragma once

#include <QFrame>

namespace vantrell {

// A card without an edge: the rounded VantrellPalette::card fill of the exchange page's
// sections.
class PlainCard : public QFrame {
    Q_OBJECT

public:
    explicit PlainCard(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vantrell
