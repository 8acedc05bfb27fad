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

// The list entry is written last, and a refused write puts back what the scope held before,
// so a failed save leaves neither a half-changed credential set nor secrets without a list
// entry that would let the user remove them.
bool CredentialSheetModel::save(const EnteredCredentials& entered, const QString& alias) const
{
    const StoredFields before = storedFields();
    LocalCredentialStore store = credentialStore();
    bool saved = true;
    for (const auto& [field, value] : enteredValues(entered)) {
        saved = saved && store.setValue(value, field);
    }
    if (saved && m_account) {
        const AdditionalExchangeAccount account{m_account->id, m_exchange,
                                                CredentialSheetRules::normalizedAlias(alias)};
        saved = LocalCredentialStore(m_defaults).saveAccount(account);
    }
    if (!saved) {
        restore(before);
    }
    return saved;
}

// A refused removal puts the scope's fields back, so what the sheet still shows is what is
// stored. The list entry goes last: when it cannot be dropped the account keeps its keys.
bool CredentialSheetModel::remove() const
{
    const StoredFields before = storedFields();
    LocalCredentialStore store = credentialStore();
    bool removed = true;
    for (CredentialField field : fields().all()) {
        removed = removed && store.removeValue(field);
    }
    if (removed && m_account) {
        removed = LocalCredentialStore(m_defaults).removeAccount(m_account->id);
    }
    if (!removed) {
        restore(before);
    }
    return removed;
}

CredentialSheetModel::StoredFields CredentialSheetModel::storedFields() const
{
    const LocalCredentialStore store = credentialStore();
    StoredFields stored;
    for (CredentialField field : fields().all()) {
        stored.emplace(field, store.value(field));
    }
    return stored;
}

// Best effort: the store refused a write a moment ago and may refuse these too.
void CredentialSheetModel::restore(const StoredFields& stored) const
{
    LocalCredentialStore store = credentialStore();
    for (const auto& [field, value] : stored) {
        if (store.value(field) == value) {
            continue;
        }
        if (value) {
            (void)store.setValue(*value, field);
        } else {
            (void)store.removeValue(field);
        }
    }
}

}  // namespace vantrell
