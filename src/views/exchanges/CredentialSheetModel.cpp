#include "views/exchanges/CredentialSheetModel.h"

#include "views/exchanges/CredentialSheetRules.h"

namespace vantrell {

CredentialSheetModel::CredentialSheetModel(DefaultsStore& defaults, Exchange exchange,
                                           std::optional<AdditionalExchangeAccount> account)
    : m_defaults(defaults), m_exchange(exchange), m_account(std::move(account))
{
}

LocalCredentialStore CredentialSheetModel::credentialStore() const
{
    return LocalCredentialStore(m_defaults,
                                m_account ? std::optional(m_account->id) : std::nullopt);
}

CredentialSheetModel::Loaded CredentialSheetModel::load() const
{
    const LocalCredentialStore store = credentialStore();
    const ExchangeCredentialFields f = fields();
    Loaded loaded;
    loaded.alias = m_account ? m_account->alias : CredentialSheetRules::mainAccountAlias.toString();
    loaded.credentials.apiKey = store.value(f.apiKey).value_or(QString());
    loaded.credentials.secretKey = store.value(f.secretKey).value_or(QString());
    if (f.passphrase) {
        loaded.credentials.passphrase = store.value(*f.passphrase).value_or(QString());
    }
    return loaded;
}

bool CredentialSheetModel::hasStoredCredentials() const
{
    return credentialStore().provider(m_exchange) != nullptr;
}

bool CredentialSheetModel::isDuplicateKey(const QString& trimmedKey) const
{
    const LocalCredentialStore main(m_defaults);
    const CredentialField apiKey = fields().apiKey;
    if (m_account && main.value(apiKey) == trimmedKey) {
        return true;
    }
    for (const AdditionalExchangeAccount& other : main.additionalAccounts()) {
        if (other.exchange != m_exchange || (m_account && other.id == m_account->id)) {
            continue;
        }
        if (main.forAccount(other.id).value(apiKey) == trimmedKey) {
            return true;
        }
    }
    return false;
}

CredentialValues CredentialSheetModel::enteredValues(const EnteredCredentials& entered) const
{
    const ExchangeCredentialFields f = fields();
    CredentialValues values{{f.apiKey, CredentialSheetRules::trimmed(entered.apiKey)},
                            {f.secretKey, CredentialSheetRules::trimmed(entered.secretKey)}};
    if (f.passphrase) {
        values.emplace(*f.passphrase, entered.passphrase);
    }
    return values;
}

LocalCredentialStore CredentialSheetModel::testStore(const EnteredCredentials& entered) const
{
    return LocalCredentialStore(enteredValues(entered), m_defaults);
}

// The fields and, for an additional account, its list entry are one change: a refused save
// leaves neither a half-changed credential set nor secrets without a list entry.
bool CredentialSheetModel::save(const EnteredCredentials& entered, const QString& alias) const
{
    if (!m_account) {
        return credentialStore().setValues(enteredValues(entered));
    }
    const AdditionalExchangeAccount account{m_account->id, m_exchange,
                                            CredentialSheetRules::normalizedAlias(alias)};
    return LocalCredentialStore(m_defaults).saveAccount(account, enteredValues(entered));
}

// All or nothing, so what the sheet still shows after a refusal is what is stored. An
// additional account goes with all its keys and its list entry.
bool CredentialSheetModel::remove() const
{
    if (!m_account) {
        return credentialStore().removeValues(fields().all());
    }
    return LocalCredentialStore(m_defaults).removeAccount(m_account->id);
}

}  // namespace vantrell
