#pragma once

#include "views/portfolio/ListPageFrame.h"
#include "views/portfolio/PositionListModel.h"

class QListView;

namespace vantrell {

class PositionTableModel;

// The positions page: every open position narrowed by the filter bar and ordered by the sort
// mode, or an empty state. A new sort mode also rebuilds the list; a new currency only
// rewrites the texts.
class PositionsListView : public ListPageFrame {
    Q_OBJECT

public:
    PositionsListView(PortfolioStore& store, AppSettings& settings,
                      LocalCredentialStore credentials, QWidget* parent = nullptr);

    const std::vector<Position>& filteredPositions() const { return m_list.rows(); }

protected:
    void rebuildList() override;
    Shown showList(const AmountTexts& amounts) override;
    void setAmounts(const AmountTexts& amounts) override;

private:
    PositionListModel m_list;
    PositionTableModel* m_model;
    QListView* m_table;
};

}  // namespace vantrell
