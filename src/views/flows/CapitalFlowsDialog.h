#pragma once

#include "models/CapitalFlow.h"
#include "models/Clock.h"
#include "models/Uuid.h"

#include <QDialog>
#include <QPointer>

#include <optional>

class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QVBoxLayout;

namespace vantrell {

class FitLabel;
class PortfolioStore;

// The sheet of capital-flow records: money moved into or out of the tracked accounts from
// outside, entered by hand. It adds a record with the typed amount (signed by its kind) and
// date, lists the store's records newest first and removes one after a confirmation. It keeps
// nothing but its input fields; the list follows the store.
class CapitalFlowsDialog : public QDialog {
    Q_OBJECT

public:
    // `clock` gives the initial date and the latest one the date field accepts.
    explicit CapitalFlowsDialog(PortfolioStore& store, const Clock& clock = Clock::system(),
                                QWidget* parent = nullptr);

    // The record waiting for its removal to be confirmed.
    std::optional<Uuid> pendingRemoval() const { return m_deleting; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLayout* inputRow();
    QWidget* listArea();
    void amountEdited();
    void add();
    void rebuildList();
    QWidget* row(int index, const CapitalFlow& flow);
    void askRemoval(const Uuid& id);
    void removalAnswered(QMessageBox* box, QPushButton* remove);

    QPointer<PortfolioStore> m_store;
    const Clock& m_clock;
    QComboBox* m_kind;
    QLineEdit* m_amount;
    QDateTimeEdit* m_date;
    FitLabel* m_tooLarge;  // shown while the typed amount is above what a flow may hold
    QPushButton* m_add;
    QVBoxLayout* m_rows = nullptr;
    std::optional<Uuid> m_deleting;
};

}  // namespace vantrell
