#pragma once

#include "views/popover/PopoverPositionRow.h"

#include <QWidget>

#include <vector>

class QPainter;

namespace vantrell {

// The popover's position rows, painted by one widget: a re-render with hundreds of positions
// swaps a list of texts instead of building widgets, and only the rows in view are painted.
class PopoverPositionList : public QWidget {
    Q_OBJECT

public:
    static constexpr int rowHeight = 39;

    explicit PopoverPositionList(QWidget* parent = nullptr);

    void setRows(std::vector<PopoverPositionRow> rows);
    const std::vector<PopoverPositionRow>& rows() const { return m_rows; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintRow(QPainter& painter, const QRect& rect, const PopoverPositionRow& row) const;

    std::vector<PopoverPositionRow> m_rows;
};

}  // namespace vantrell
