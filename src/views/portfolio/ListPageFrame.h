#pragma once

#include "models/PortfolioFilter.h"
#include "security/LocalCredentialStore.h"
#include "views/portfolio/AmountTexts.h"
#include "views/portfolio/ListEmptyState.h"
#include "views/portfolio/ListRebuildKey.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

class QHBoxLayout;
class QStackedWidget;

namespace vantrell {

class AppSettings;
class EmptyStateView;
class FitLabel;
class ListTableCard;
class PortfolioFilterBar;
class PortfolioStore;

// The frame shared by the list pages: a title with a row count, the filter bar, and a table
// that gives way to an empty state. The page keeps its filtered list and rebuilds it only when
// it is shown, the refresh time or the total changes, or the filter changes. Leaving the page
// forgets the filter, as a page made anew would. Subclasses own the list and the table model.
class ListPageFrame : public QWidget {
    Q_OBJECT

public:
    const PortfolioFilter& filter() const { return m_filter; }
    // How many times the list was filtered and sorted.
    int rebuildCount() const { return m_rebuildCount; }
    PortfolioFilterBar& filterBar() const { return *m_filterBar; }

    void rebuild();

protected:
    // Object names are `name` + "Page", "Title", "Count" and "Table".
    ListPageFrame(PortfolioStore& store, AppSettings& settings, LocalCredentialStore credentials,
                  bool forPositions, const QString& name, const QString& title,
                  QWidget* parent = nullptr);

    // What the page shows once its rows are in the table.
    struct Shown {
        QString countText;
        std::optional<ListEmptyState> emptyState;  // set when there are no rows
    };

    // Adds `table` below the filter bar; called once from the subclass's constructor.
    void setTable(ListTableCard* table);
    QHBoxLayout* header() const { return m_header; }
    const PortfolioStore& store() const;
    const AppSettings& settings() const;

    // Filters (and sorts) the page's list from the store.
    virtual void rebuildList() = 0;
    // Puts the list's rows into the table model.
    virtual Shown showList(const AmountTexts& amounts) = 0;
    // Rewrites the amounts of the rows shown (the display currency changed).
    virtual void setAmounts(const AmountTexts& amounts) = 0;

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
    std::optional<ListRebuildKey> m_key;
    int m_rebuildCount = 0;

    QString m_name;
    QHBoxLayout* m_header;
    FitLabel* m_count;
    PortfolioFilterBar* m_filterBar;
    QStackedWidget* m_stack;
    EmptyStateView* m_empty;
};

}  // namespace vantrell
