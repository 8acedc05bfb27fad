#pragma once

#include "models/Exchange.h"
#include "security/AdditionalExchangeAccount.h"
#include "views/exchanges/ExchangeBlockContent.h"
#include "views/kit/CoalescedRender.h"

#include <QPointer>
#include <QScrollArea>
#include <QUrl>

#include <functional>
#include <optional>
#include <vector>

class QVBoxLayout;

namespace vantrell {

class DefaultsStore;
class ExchangeCredentialSheet;
class FitLabel;
class PortfolioStore;
class ReferralLinkStore;

// The main window's page of the five exchanges: each one's configuration and connection state,
// its registration link when the referral configuration offers one, and the buttons that open
// the credential sheet for its main account, for one of its additional accounts, or for a new
// additional account (stored only when the sheet saves it).
//
// The rows follow the store's statuses and snapshots, written credentials and the referral
// links, at most once per turn of the event loop and only while the page is shown; showing it
// brings it up to date at once. A row is rebuilt only when what it shows changes shape (an
// exchange configured, an account added or removed, a registration link); a new status line
// is written into the existing row, so a press, the focus or a tooltip survives a refresh.
// Each time the page is shown it asks the referral store for a fresh document.
class ExchangeManagementPage : public QScrollArea {
    Q_OBJECT

public:
    using UrlOpener = std::function<void(const QUrl&)>;

    // Everything given must outlive the page. `credentialDefaults` holds the stored credentials.
    ExchangeManagementPage(PortfolioStore& store, ReferralLinkStore& referralLinks,
                           DefaultsStore& credentialDefaults, QWidget* parent = nullptr);

    // Opens registration links; the desktop's browser unless a test passes another.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    // The open credential sheet, if any.
    ExchangeCredentialSheet* credentialSheet() const;
    // Brings the rows up to date now, shown or not.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void scheduleRefresh();
    void refreshIfShown();
    std::vector<ExchangeBlockContent> currentContent() const;
    void rebuildRows(const std::vector<ExchangeBlockContent>& blocks);
    void updateStatusLines(const std::vector<ExchangeBlockContent>& blocks);
    void clearRows();
    void applyColors();
    QWidget* buildHeader();
    QWidget* exchangeRow(const ExchangeBlockContent& block);
    QWidget* divider(Exchange exchange);
    QWidget* accountRow(const AdditionalExchangeAccount& account);
    QWidget* registerButton(Exchange exchange, const QUrl& url);
    void openSheet(Exchange exchange, std::optional<AdditionalExchangeAccount> account);
    void addAccount(Exchange exchange);

    QPointer<PortfolioStore> m_store;
    QPointer<ReferralLinkStore> m_referralLinks;
    DefaultsStore& m_credentialDefaults;
    UrlOpener m_openUrl;
    QVBoxLayout* m_cardLayout = nullptr;
    QPointer<ExchangeCredentialSheet> m_sheet;
    // What the rows show now, and each block's status line, in exchange order.
    std::vector<ExchangeBlockContent> m_shown;
    std::vector<QPointer<FitLabel>> m_statusLines;
    CoalescedRender m_coalescedRefresh{this, [this] { refreshIfShown(); }};
};

}  // namespace vantrell
