#pragma once

#include "views/exchanges/CredentialSheetModel.h"

#include <QCoroTask>
#include <QDialog>
#include <QPointer>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace vantrell {

class PortfolioStore;

// The sheet in which the read-only API credentials of one exchange's main account, or of one
// additional account, are entered, tested against the exchange and saved; or removed. Nothing
// is written before a connection test with exactly the entered values has succeeded.
//
// While it saves or removes, the sheet is busy: its buttons are disabled and neither Escape
// nor the window's close button closes it. It closes only once the forced refresh that
// includes the new credentials has finished. Open it with open(); it may be deleted at any
// time, also while it waits.
class ExchangeCredentialSheet : public QDialog {
    Q_OBJECT

public:
    // `credentialDefaults` holds the stored credentials; it and the store must outlive the
    // sheet's work (the sheet checks the store before each use).
    ExchangeCredentialSheet(PortfolioStore& store, DefaultsStore& credentialDefaults,
                            Exchange exchange, std::optional<AdditionalExchangeAccount> account,
                            QWidget* parent = nullptr);

    const CredentialSheetModel& model() const { return m_model; }
    bool isBusy() const { return m_busy; }
    // The message under the fields, if any (plain text).
    std::optional<QString> errorMessage() const { return m_errorMessage; }

    // Ignored while busy.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildFields(const CredentialSheetModel::Loaded& loaded);
    QWidget* credentialField(const QString& title, const QString& name, const QString& text);
    QWidget* buildNotice();
    QWidget* buildButtons();

    EnteredCredentials entered() const;
    bool credentialsComplete() const;
    void updateButtons();
    void updateNotice();
    void applyColors();
    void setErrorMessage(const std::optional<QString>& message);
    void setBusy(bool busy, bool testing);
    void stepSpinner();

    void verifyAndSave();
    void removeCredentials();
    QCoro::Task<void> testAndSave(EnteredCredentials entered, QString alias);
    QCoro::Task<void> removeAndRefresh();
    // Awaits the forced refresh that follows any cycle already running.
    QCoro::Task<void> refreshStore();

    QPointer<PortfolioStore> m_store;
    CredentialSheetModel m_model;
    bool m_busy = false;
    bool m_testing = false;
    std::optional<QString> m_errorMessage;
    int m_spinnerStep = 0;

    QLineEdit* m_alias = nullptr;
    QLineEdit* m_apiKey = nullptr;
    QLineEdit* m_secretKey = nullptr;
    QLineEdit* m_passphrase = nullptr;
    QLabel* m_noticeIcon = nullptr;
    QLabel* m_noticeText = nullptr;
    QPushButton* m_removeButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QTimer* m_spinner = nullptr;
};

}  // namespace vantrell
