#pragma once

#include <QWidget>

namespace vantrell {

// A one-pixel divider line in the palette's divider colour, horizontal or vertical.
class Hairline : public QWidget {
    Q_OBJECT

public:
    explicit Hairline(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vantrell
