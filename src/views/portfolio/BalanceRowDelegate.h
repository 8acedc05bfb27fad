#pragma once

#include <QStyledItemDelegate>

namespace vantrell {

class BalanceTableModel;

// Paints one balance row (icon, asset, account, quantity, value) padded 11 × 8, with a divider
// inset 40 under every row but the last.
class BalanceRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int quantityWidth = 150;
    static constexpr int valueWidth = 110;
    static constexpr int rowHeight = 20 + 2 * 8;

    BalanceRowDelegate(const BalanceTableModel& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const BalanceTableModel& m_model;
};

}  // namespace vantrell
