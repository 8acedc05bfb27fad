#pragma once

#include <QStyledItemDelegate>

namespace vantrell {

class PositionTableModel;

// Paints the rows of the positions table from the model's cached texts, padded 11 × 7, with a
// divider inset 40 under every row but the last.
class PositionRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int paddingX = 11;
    static constexpr int paddingY = 7;

    PositionRowDelegate(const PositionTableModel& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const PositionTableModel& m_model;
};

}  // namespace vantrell
