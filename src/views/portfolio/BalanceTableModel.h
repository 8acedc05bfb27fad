#pragma once

#include "models/AssetBalance.h"
#include "views/portfolio/AmountTexts.h"
#include "views/portfolio/BalanceRowTexts.h"

#include <QAbstractListModel>

#include <optional>
#include <vector>

namespace vantrell {

// The rows of the asset balances table, with each row's texts written when it is first shown.
class BalanceTableModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit BalanceTableModel(QObject* parent = nullptr);

    void setRows(std::vector<AssetBalance> rows, const AmountTexts& amounts);
    void setAmounts(const AmountTexts& amounts);
    const BalanceRowTexts& texts(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<AssetBalance> m_rows;
    AmountTexts m_amounts;
    mutable std::vector<std::optional<BalanceRowTexts>> m_texts;
};

}  // namespace vantrell
