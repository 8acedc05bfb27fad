#pragma once

#include "models/Exchange.h"
#include "models/ExchangeCredentials.h"
#include "security/AdditionalExchangeAccount.h"
#include "security/CredentialField.h"

#include <QString>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vantrell {

class DefaultsChange;
class DefaultsStore;
class ExchangeProvider;

using CredentialValues = std::map<CredentialField, QString>;

// The read-only API credentials of every account and the list of additional accounts, kept as
// plain strings and one JSON blob in the defaults store (whose file is owner-only).
//
// An instance reads one scope: the main accounts ("credential.<field>"), one additional
// account ("credential.extra.<id>.<field>"), or an in-memory map of values typed but not
// saved. Nothing is cached, so a write through one instance is seen at once by every other.
// Main thread only. Credential values are never logged. Every write that reaches the defaults
// store is announced through CredentialChangeNotifier.
class LocalCredentialStore final {
public:
    // The main scope when `accountID` is absent, otherwise that additional account's scope.
    explicit LocalCredentialStore(DefaultsStore& defaults,
                                  std::optional<QString> accountID = std::nullopt);
    // Answers field reads from `values` alone and never stores them; the account list and the
    // per-account part of the identity still come from `defaults`.
    LocalCredentialStore(CredentialValues values, DefaultsStore& defaults);

    // The main scope over the standard defaults store, made on first use.
    static LocalCredentialStore& shared();

    // The scope of one additional account over this instance's defaults store.
    LocalCredentialStore forAccount(const QString& accountID) const;

    std::optional<QString> value(CredentialField field) const;
    // Stores the string as given (no trimming; "" stays ""). An in-memory instance changes its
    // map only. False when the defaults store could not save it.
    bool setValue(const QString& value, CredentialField field);
    bool removeValue(CredentialField field);
    // Several fields at once: all of them are stored (or removed), or none is.
    bool setValues(const CredentialValues& values);
    bool removeValues(const std::vector<CredentialField>& fields);

    // A new connector for `exchange` over this scope's credentials, with the exchanges'
    // production hosts and the process-wide transport; null unless every field of the record is
    // non-empty (values are not trimmed). Sends nothing. Defined with the connector factory.
    std::shared_ptr<const ExchangeProvider> provider(Exchange exchange) const;

    // Each record, or nothing unless every one of its fields is non-empty.
    std::optional<BinanceCredentials> binanceCredentials() const;
    std::optional<OKXCredentials> okxCredentials() const;
    std::optional<BybitCredentials> bybitCredentials() const;
    std::optional<GateCredentials> gateCredentials() const;
    std::optional<BitgetCredentials> bitgetCredentials() const;

    // The stored list in saving order; empty when absent or when any entry cannot be decoded.
    std::vector<AdditionalExchangeAccount> additionalAccounts() const;
    // Replaces every listed account with the same id and appends this one at the end, and
    // stores `values` in the account's scope: the list and the fields change together or not at
    // all, so no secrets are ever kept without a list entry that leads to them.
    bool saveAccount(const AdditionalExchangeAccount& account, const CredentialValues& values = {});
    // Removes the account's twelve credential keys (listed or not) and its list entries, all in
    // one change: the entry never goes while the keys stay, nor the keys while the entry stays.
    bool removeAccount(const QString& id);

    // SHA-256 (64 lower-case hex digits) of the whole usable credential set: it tells one set
    // of accounts from another and names the cached snapshot and value history.
    QString portfolioIdentity() const;

    static const QString accountListKey;     // "additionalExchangeAccounts"
    static const QString unreadableListKey;  // where an undecodable list is kept before overwrite

private:
    struct StoredList;

    QString storageKey(CredentialField field) const;
    QString valueOrEmpty(CredentialField field) const;
    std::optional<std::pair<QString, QString>> twoFields(CredentialField apiKey,
                                                         CredentialField secretKey) const;
    std::optional<std::array<QString, 3>> threeFields(CredentialField apiKey,
                                                      CredentialField secretKey,
                                                      CredentialField passphrase) const;
    bool hasCompleteCredentials(Exchange exchange) const;
    StoredList readList() const;
    static bool addList(DefaultsChange& change, const StoredList& previous,
                        const std::vector<AdditionalExchangeAccount>& list);
    void addValues(DefaultsChange& change, const CredentialValues& values) const;
    bool commit(const DefaultsChange& change);

    DefaultsStore* m_defaults;
    std::optional<QString> m_accountID;
    std::optional<CredentialValues> m_memoryValues;
};

}  // namespace vantrell
