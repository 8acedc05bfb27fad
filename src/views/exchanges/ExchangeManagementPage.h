#pragma once

#include "models/Exchange.h"
#include "security/AdditionalExchangeAccount.h"
#include "views/kit/CoalescedRender.h"

#include <QPointer>
#include <QScrollArea>
#include <QUrl>

#include <functional>
#include <optional>

class QVBoxLayout;

namespace vantrell {

class DefaultsStore;
class ExchangeCredentialSheet;
class PortfolioStore;
class ReferralLinkStore;

// The main window's page of the five exchanges: each one's configuration and connection state,
// its registration link when the referral configuration offers one, and the buttons that open
// the credential sheet for its main account, for one of its additional accounts, or for a new
// additional account (stored only when the sheet saves it).
//
// The rows are rebuilt, once per turn of the event loop, whenever the store publishes a status
// or snapshot, credentials are written, or the referral links change. Each time the page is
// shown it asks the referral store for a fresh document.
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
    // Rebuilds the rows now (they are otherwise rebuilt on the next turn of the event loop).
    void rebuild();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void scheduleRebuild();
    void applyColors();
    QWidget* buildHeader();
    QWidget* exchangeRow(Exchange exchange);
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
    CoalescedRender m_coalescedRebuild{this, [this] { rebuild(); }};
};

}  // namespace vantrell
