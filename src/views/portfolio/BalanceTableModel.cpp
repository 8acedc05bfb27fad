#include "views/portfolio/BalanceTableModel.h"

namespace vantrell {

BalanceTableModel::BalanceTableModel(QObject* parent) : QAbstractListModel(parent) {}

void BalanceTableModel::setRows(std::vector<AssetBalance> rows, const AmountTexts& amounts)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_amounts = amounts;
    m_texts.assign(m_rows.size(), std::nullopt);
    endResetModel();
}

void BalanceTableModel::setAmounts(const AmountTexts& amounts)
{
    m_amounts = amounts;
    m_texts.assign(m_rows.size(), std::nullopt);
    if (!m_rows.empty()) {
        Q_EMIT dataChanged(index(0), index(rowCount() - 1));
    }
}

const BalanceRowTexts& BalanceTableModel::texts(int row) const
{
    auto& cached = m_texts[static_cast<std::size_t>(row)];
    if (!cached) {
        cached = BalanceRowTexts::forList(m_rows[static_cast<std::size_t>(row)], m_amounts);
    }
    return *cached;
}

int BalanceTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant BalanceTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return texts(index.row()).asset;
    }
    if (role == Qt::AccessibleTextRole) {
        const BalanceRowTexts& t = texts(index.row());
        return QStringList{t.asset, t.account, t.quantity, t.value}.join(u' ');
    }
    return {};
}

}  // namespace vantrell
