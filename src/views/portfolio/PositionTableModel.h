#pragma once

#include "models/Position.h"
#include "views/portfolio/AmountTexts.h"
#include "views/portfolio/PositionRowTexts.h"

#include <QAbstractListModel>

#include <optional>
#include <vector>

namespace vantrell {

// The rows of the positions table. Row texts are written when a row is first asked for (the
// view asks only for rows it shows) and kept until the rows or the amounts' currency change.
class PositionTableModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { TextsRole = Qt::UserRole + 1 };

    explicit PositionTableModel(QObject* parent = nullptr);

    void setRows(std::vector<Position> rows, const AmountTexts& amounts);
    // New currency or rates: the same rows, written again.
    void setAmounts(const AmountTexts& amounts);
    const std::vector<Position>& rows() const { return m_rows; }
    const PositionRowTexts& texts(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<Position> m_rows;
    AmountTexts m_amounts;
    mutable std::vector<std::optional<PositionRowTexts>> m_texts;
};

}  // namespace vantrell
