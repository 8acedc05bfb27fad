#pragma once

#include "views/portfolio/PositionDataRow.h"

#include <QWidget>

#include <vector>

namespace vantrell {

// A stack of position rows painted by one widget (the overview's card and the exchange pages),
// each padded vertically and followed by a divider; only rows in view are painted.
class PositionRowsView : public QWidget {
    Q_OBJECT

public:
    PositionRowsView(PositionDataRow::Columns columns, int verticalPadding, bool dividerAfterLast,
                     QWidget* parent = nullptr);

    void setRows(std::vector<PositionRowTexts> rows);
    const std::vector<PositionRowTexts>& rows() const { return m_rows; }
    int rowHeight() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PositionDataRow::Columns m_columns;
    int m_padding;
    bool m_dividerAfterLast;
    std::vector<PositionRowTexts> m_rows;
};

}  // namespace vantrell
