#pragma once

#include "models/Exchange.h"
#include "security/AdditionalExchangeAccount.h"
#include "security/CredentialField.h"
#include "security/LocalCredentialStore.h"

#include <QString>

#include <map>
#include <optional>

namespace vantrell {

class DefaultsStore;

// What the user typed into the credential sheet, untouched.
struct EnteredCredentials {
    QString apiKey;
    QString secretKey;
    QString passphrase;  // only OKX and Bitget use it
};

// The credential sheet's dealings with the credential store, for one exchange's main account
// or one of its additional accounts (stored already, or new and not yet in the list). The
// sheet itself only awaits the connection test and the refresh around these steps.
//
// Credentials are written only by save(), which the sheet calls after a connection test with
// exactly testStore()'s values has succeeded and isDuplicateKey() was false.
class CredentialSheetModel {
public:
    // `defaults` is the defaults store of the shared credential store and must outlive this.
    CredentialSheetModel(DefaultsStore& defaults, Exchange exchange,
                         std::optional<AdditionalExchangeAccount> account);

    Exchange exchange() const { return m_exchange; }
    const std::optional<AdditionalExchangeAccount>& account() const { return m_account; }
    bool servesAdditionalAccount() const { return m_account.has_value(); }
    ExchangeCredentialFields fields() const { return credentialFields(m_exchange); }

    // The store of the sheet's scope: the main scope, or the account's. Made afresh each time.
    LocalCredentialStore credentialStore() const;

    // The values to show when the sheet opens ("" for absent ones) and the alias: the account's,
    // or "默认账户" for the main account (never saved).
    struct Loaded {
        QString alias;
        EnteredCredentials credentials;
    };
    Loaded load() const;

    // Whether complete credentials are stored in this scope (the sheet then offers removal).
    bool hasStoredCredentials() const;

    // Whether the trimmed key is already counted under another account of this exchange: the
    // main account's stored key (only when serving an additional account), or the stored key
    // of any other additional account of the exchange. Stored keys are compared as stored.
    bool isDuplicateKey(const QString& trimmedKey) const;

    // The values tested and written: key and secret trimmed, the passphrase as typed.
    CredentialValues enteredValues(const EnteredCredentials& entered) const;
    // An in-memory store of those values; testing with it never reads the stored credentials.
    LocalCredentialStore testStore(const EnteredCredentials& entered) const;

    // Writes the entered values into the scope (always, also when unchanged) and, for an
    // additional account, stores the account with the normalised alias at the end of the list.
    // False when the write was refused; the scope and the list then hold what they held before.
    bool save(const EnteredCredentials& entered, const QString& alias) const;
    // Removes the scope's fields; for an additional account also its list entry and all its
    // keys. The main account's removal leaves the additional accounts alone. False when the
    // removal was refused; nothing was removed then.
    bool remove() const;

private:
    DefaultsStore& m_defaults;
    Exchange m_exchange;
    std::optional<AdditionalExchangeAccount> m_account;
};

}  // namespace vantrell
