#pragma once

#include "views/portfolio/AssetListModel.h"
#include "views/portfolio/ListPageFrame.h"

class QListView;

namespace vantrell {

class BalanceTableModel;

// The asset balances page: every holding narrowed by the filter bar, largest value first, or
// an empty state. A new currency only rewrites the texts.
class AssetBalancesView : public ListPageFrame {
    Q_OBJECT

public:
    AssetBalancesView(PortfolioStore& store, AppSettings& settings,
                      LocalCredentialStore credentials, QWidget* parent = nullptr);

    const std::vector<AssetBalance>& filteredBalances() const { return m_list.rows(); }

protected:
    void rebuildList() override;
    Shown showList(const AmountTexts& amounts) override;
    void setAmounts(const AmountTexts& amounts) override;

private:
    AssetListModel m_list;
    BalanceTableModel* m_model;
    QListView* m_table;
};

}  // namespace vantrell
