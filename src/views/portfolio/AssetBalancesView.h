#pragma once

#include "models/PortfolioFilter.h"
#include "security/LocalCredentialStore.h"
#include "views/portfolio/AssetListModel.h"
#include "views/portfolio/ListRebuildKey.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QListView;
class QStackedWidget;

namespace vantrell {

class AppSettings;
class EmptyStateView;
class FitLabel;
class PortfolioFilterBar;
class PortfolioStore;
class BalanceTableModel;

// The asset balances page: every holding narrowed by the filter bar, largest value first, or
// an empty state. The filtered list is kept and rebuilt only when the page is shown, the
// refresh time or the total changes, or the filter changes; a new currency only rewrites the
// texts. Leaving the page forgets the filter, as a page made anew would.
class AssetBalancesView : public QWidget {
    Q_OBJECT

public:
    AssetBalancesView(PortfolioStore& store, AppSettings& settings,
                      LocalCredentialStore credentials, QWidget* parent = nullptr);

    const PortfolioFilter& filter() const { return m_filter; }
    const std::vector<AssetBalance>& filteredBalances() const { return m_list.rows(); }
    // How many times the list was filtered and sorted.
    int rebuildCount() const { return m_rebuildCount; }
    PortfolioFilterBar& filterBar() const { return *m_filterBar; }

    void rebuild();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void storeChanged();
    void setFilter(const PortfolioFilter& filter);
    void showRows();

    QPointer<PortfolioStore> m_store;
    QPointer<AppSettings> m_settings;
    PortfolioFilter m_filter;
    AssetListModel m_list;
    std::optional<ListRebuildKey> m_key;
    int m_rebuildCount = 0;

    FitLabel* m_count;
    PortfolioFilterBar* m_filterBar;
    QStackedWidget* m_stack;
    BalanceTableModel* m_model;
    QListView* m_table;
    EmptyStateView* m_empty;
};

}  // namespace vantrell
