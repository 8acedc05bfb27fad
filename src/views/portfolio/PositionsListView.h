#pragma once

#include "models/PortfolioFilter.h"
#include "security/LocalCredentialStore.h"
#include "views/portfolio/ListRebuildKey.h"
#include "views/portfolio/PositionListModel.h"

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
class PositionTableModel;

// The positions page: every open position narrowed by the filter bar and ordered by the sort
// mode, or an empty state. The filtered list is kept and rebuilt only when the page is shown,
// the refresh time or the total changes, the filter changes or the sort mode changes; a new
// currency only rewrites the texts. Leaving the page forgets the filter, as a page made anew
// would.
class PositionsListView : public QWidget {
    Q_OBJECT

public:
    PositionsListView(PortfolioStore& store, AppSettings& settings,
                      LocalCredentialStore credentials, QWidget* parent = nullptr);

    const PortfolioFilter& filter() const { return m_filter; }
    const std::vector<Position>& filteredPositions() const { return m_list.rows(); }
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
    PositionListModel m_list;
    std::optional<ListRebuildKey> m_key;
    int m_rebuildCount = 0;

    FitLabel* m_count;
    PortfolioFilterBar* m_filterBar;
    QStackedWidget* m_stack;
    PositionTableModel* m_model;
    QListView* m_table;
    EmptyStateView* m_empty;
};

}  // namespace vantrell
