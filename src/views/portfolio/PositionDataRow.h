#pragma once

#include "views/portfolio/PositionRowTexts.h"

#include <QWidget>

class QPainter;

namespace vantrell {

// One position as a row of the positions table and of the exchange pages: the exchange icon,
// symbol with its side, the price line and the alias; then quantity, value and profit in
// fixed columns. Painted, not built of labels, so a table of a thousand rows stays cheap; the
// table's delegate paints rows with paintRow() and this widget hosts one row on its own.
class PositionDataRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int rowHeight = 44;  // without the table's padding
    static constexpr int quantityWidth = 68;
    static constexpr int valueWidth = 96;
    static constexpr int pnlWidth = 100;

    // The columns of the row: the positions table and the exchange pages show the exchange's
    // icon and narrower columns than the overview's card.
    struct Columns {
        bool showsIcon = true;
        int quantity = quantityWidth;
        int value = valueWidth;
        int pnl = pnlWidth;
    };
    static Columns tableColumns() { return {}; }
    static Columns overviewColumns() { return {false, 80, 105, 105}; }

    explicit PositionDataRow(PositionRowTexts texts, QWidget* parent = nullptr);

    const PositionRowTexts& texts() const { return m_texts; }

    // Paints `texts` into `rect` with the colours of `widget`'s palette.
    static void paintRow(QPainter& painter, const QRect& rect, const PositionRowTexts& texts,
                         const QWidget* widget, const Columns& columns = tableColumns());

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PositionRowTexts m_texts;
};

}  // namespace vantrell
