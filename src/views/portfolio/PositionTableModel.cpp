#include "views/portfolio/PositionTableModel.h"

namespace vantrell {

PositionTableModel::PositionTableModel(QObject* parent) : QAbstractListModel(parent) {}

void PositionTableModel::setRows(std::vector<Position> rows, const AmountTexts& amounts)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_amounts = amounts;
    m_texts.assign(m_rows.size(), std::nullopt);
    endResetModel();
}

void PositionTableModel::setAmounts(const AmountTexts& amounts)
{
    m_amounts = amounts;
    m_texts.assign(m_rows.size(), std::nullopt);
    if (!m_rows.empty()) {
        Q_EMIT dataChanged(index(0), index(rowCount() - 1));
    }
}

const PositionRowTexts& PositionTableModel::texts(int row) const
{
    auto& cached = m_texts[static_cast<std::size_t>(row)];
    if (!cached) {
        cached = PositionRowTexts::forTable(m_rows[static_cast<std::size_t>(row)], m_amounts);
    }
    return *cached;
}

int PositionTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant PositionTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return texts(index.row()).symbol;
    }
    if (role == Qt::AccessibleTextRole) {
        const PositionRowTexts& t = texts(index.row());
        return QStringList{t.symbol, t.side, t.quantity, t.value, t.pnl}.join(u' ');
    }
    return {};
}

}  // namespace vantrell
