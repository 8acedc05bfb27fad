#pragma once

#include <QWidget>

#include <vector>

class QGridLayout;

namespace vantrell {

// Cards in as many columns of at least `minimumColumnWidth` as the width allows, in reading
// order; the columns are worked out again when the width changes.
class AdaptiveGrid : public QWidget {
    Q_OBJECT

public:
    AdaptiveGrid(int minimumColumnWidth, int spacing, QWidget* parent = nullptr);

    // Replaces the cards (the grid takes them).
    void setItems(std::vector<QWidget*> items);
    int columnCount() const { return m_columns; }
    static int columnsFor(int width, int minimumColumnWidth, int spacing);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place(int columns);

    int m_minimumWidth;
    int m_spacing;
    int m_columns = 1;
    QGridLayout* m_grid;
    std::vector<QWidget*> m_items;
};

}  // namespace vantrell
