#pragma once

#include <QColor>
#include <QIcon>
#include <QWidget>

class QTimer;

namespace vantrell {

// A small indeterminate progress indicator: an arc that turns while the widget is shown. The
// frames are also available as icons, for a button that shows its own progress.
class BusyIndicator : public QWidget {
    Q_OBJECT

public:
    static constexpr int steps = 12;

    explicit BusyIndicator(int size = 14, QWidget* parent = nullptr);

    // One frame of the turning arc, `size` pixels across.
    static QIcon frame(int step, int size, const QColor& color);

    QSize sizeHint() const override { return {m_size, m_size}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int m_size;
    int m_step = 0;
    QTimer* m_timer;
};

}  // namespace vantrell
