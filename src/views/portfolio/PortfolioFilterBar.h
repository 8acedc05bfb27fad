#pragma once

#include "models/PortfolioFilter.h"
#include "security/LocalCredentialStore.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vantrell {

class PortfolioStore;

// The filter row above the positions and the asset lists: search text, exchange, account,
// then the side (positions) or the hide-small switch (assets). It edits the page's filter:
// only the user's own edits change it (filterChanged()); refilling the pickers when the
// configured exchanges or accounts change never does. A value that is no longer offered stays
// in the filter with no item shown as chosen.
class PortfolioFilterBar : public QWidget {
    Q_OBJECT

public:
    PortfolioFilterBar(PortfolioStore& store, LocalCredentialStore credentials, bool showsSides,
                       QWidget* parent = nullptr);

    const PortfolioFilter& filter() const { return m_filter; }
    // Shows `filter` in the controls without emitting filterChanged().
    void setFilter(const PortfolioFilter& filter);
    // Refills the pickers from the store and the credentials.
    void repopulate();

Q_SIGNALS:
    void filterChanged(const vantrell::PortfolioFilter& filter);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void select();
    void edited();

    QPointer<PortfolioStore> m_store;
    LocalCredentialStore m_credentials;
    PortfolioFilter m_filter;
    QLineEdit* m_search;
    QComboBox* m_exchange;
    QComboBox* m_account;
    QComboBox* m_side = nullptr;
    QCheckBox* m_hideSmall = nullptr;
};

}  // namespace vantrell
