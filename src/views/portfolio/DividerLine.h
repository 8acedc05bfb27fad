#pragma once

#include <QWidget>

namespace vantrell {

// A one-pixel horizontal line in the divider colour, optionally inset on its leading edge.
class DividerLine : public QWidget {
    Q_OBJECT

public:
    explicit DividerLine(int leadingInset = 0, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_inset;
};

}  // namespace vantrell
