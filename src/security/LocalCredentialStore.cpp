#include "security/LocalCredentialStore.h"

#include "models/JsonCoding.h"
#include "models/JsonError.h"
#include "models/JsonReader.h"
#include "models/JsonWriter.h"
#include "models/StoredEnumCoding.h"
#include "platform/DefaultsChange.h"
#include "platform/DefaultsStore.h"
#include "platform/SettingsDefaultsStore.h"
#include "security/CredentialChangeNotifier.h"

#include <QCryptographicHash>

#include <algorithm>

namespace vantrell {

const QString LocalCredentialStore::accountListKey = QStringLiteral("additionalExchangeAccounts");
const QString LocalCredentialStore::unreadableListKey =
    QStringLiteral("additionalExchangeAccounts.unreadable");

// The list as found in the defaults store. `unreadable` holds the stored value when the key is
// present but does not decode, so it can be kept before the list is overwritten.
struct LocalCredentialStore::StoredList {
    std::vector<AdditionalExchangeAccount> accounts;
    std::optional<QVariant> unreadable;
};

namespace {

// The backslash escape of `byte`, or nullptr when it is written otherwise.
const char* shortEscape(char byte)
{
    switch (byte) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '/':
            return "\\/";
        case '\b':
            return "\\b";
        case '\f':
            return "\\f";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            return nullptr;
    }
}

// Compact JSON array of strings. The escaping is fixed because the digest of this text names
// the user's history files: '"', '\' and '/' get a backslash, the usual short escapes for
// controls, \u00xx for the other controls, everything else as raw UTF-8. (The JSON library's
// writer does not escape '/', hence this small writer.)
QByteArray identityJson(const std::vector<QString>& strings)
{
    static constexpr char hexDigits[] = "0123456789abcdef";
    QByteArray text("[");
    for (std::size_t index = 0; index < strings.size(); ++index) {
        text += index == 0 ? "\"" : ",\"";
        for (const char byte : strings[index].toUtf8()) {
            if (const char* escape = shortEscape(byte)) {
                text += escape;
            } else if (static_cast<unsigned char>(byte) < 0x20) {
                text += "\\u00";
                text += hexDigits[byte >> 4];
                text += hexDigits[byte & 0xf];
            } else {
                text += byte;
            }
        }
        text += '"';
    }
    text += ']';
    return text;
}

// Every entry but those with `id`, in list order.
std::vector<AdditionalExchangeAccount> withoutAccount(
    const std::vector<AdditionalExchangeAccount>& accounts, const QString& id)
{
    std::vector<AdditionalExchangeAccount> rest;
    std::copy_if(accounts.begin(), accounts.end(), std::back_inserter(rest),
                 [&](const AdditionalExchangeAccount& entry) { return entry.id != id; });
    return rest;
}

}  // namespace

LocalCredentialStore::LocalCredentialStore(DefaultsStore& defaults,
                                           std::optional<QString> accountID)
    : m_defaults(&defaults), m_accountID(std::move(accountID))
{
}

LocalCredentialStore::LocalCredentialStore(CredentialValues values, DefaultsStore& defaults)
    : m_defaults(&defaults), m_memoryValues(std::move(values))
{
}

LocalCredentialStore& LocalCredentialStore::shared()
{
    static LocalCredentialStore store(standardDefaults());
    return store;
}

LocalCredentialStore LocalCredentialStore::forAccount(const QString& accountID) const
{
    return LocalCredentialStore(*m_defaults, accountID);
}

QString LocalCredentialStore::storageKey(CredentialField field) const
{
    if (m_accountID) {
        return QStringLiteral("credential.extra.") + *m_accountID + u'.' + rawValue(field);
    }
    return QStringLiteral("credential.") + rawValue(field);
}

std::optional<QString> LocalCredentialStore::value(CredentialField field) const
{
    if (m_memoryValues) {
        const auto entry = m_memoryValues->find(field);
        if (entry == m_memoryValues->end()) {
            return std::nullopt;
        }
        return entry->second;
    }
    const QVariant stored = m_defaults->value(storageKey(field));
    if (!stored.isValid()) {
        return std::nullopt;
    }
    return stored.toString();
}

bool LocalCredentialStore::setValue(const QString& value, CredentialField field)
{
    return setValues({{field, value}});
}

bool LocalCredentialStore::removeValue(CredentialField field)
{
    return removeValues({field});
}

// Values typed for a connection test must never reach the defaults store, so an in-memory
// instance writes to its own map.
bool LocalCredentialStore::setValues(const CredentialValues& values)
{
    if (m_memoryValues) {
        for (const auto& [field, value] : values) {
            m_memoryValues->insert_or_assign(field, value);
        }
        return true;
    }
    DefaultsChange change;
    addValues(change, values);
    return commit(change);
}

bool LocalCredentialStore::removeValues(const std::vector<CredentialField>& fields)
{
    if (m_memoryValues) {
        for (CredentialField field : fields) {
            m_memoryValues->erase(field);
        }
        return true;
    }
    DefaultsChange change;
    for (CredentialField field : fields) {
        change.remove(storageKey(field));
    }
    return commit(change);
}

void LocalCredentialStore::addValues(DefaultsChange& change, const CredentialValues& values) const
{
    for (const auto& [field, value] : values) {
        change.set(storageKey(field), value);
    }
}

// Every change is announced, also a refused one: listeners reread and find what is stored.
bool LocalCredentialStore::commit(const DefaultsChange& change)
{
    const bool saved = m_defaults->apply(change);
    CredentialChangeNotifier::instance().notifyChanged();
    return saved;
}

QString LocalCredentialStore::valueOrEmpty(CredentialField field) const
{
    return value(field).value_or(QString());
}

std::optional<std::pair<QString, QString>> LocalCredentialStore::twoFields(
    CredentialField apiKey, CredentialField secretKey) const
{
    std::pair<QString, QString> values{valueOrEmpty(apiKey), valueOrEmpty(secretKey)};
    if (values.first.isEmpty() || values.second.isEmpty()) {
        return std::nullopt;
    }
    return values;
}

std::optional<std::array<QString, 3>> LocalCredentialStore::threeFields(
    CredentialField apiKey, CredentialField secretKey, CredentialField passphrase) const
{
    std::array<QString, 3> values{valueOrEmpty(apiKey), valueOrEmpty(secretKey),
                                  valueOrEmpty(passphrase)};
    if (std::any_of(values.begin(), values.end(), [](const QString& v) { return v.isEmpty(); })) {
        return std::nullopt;
    }
    return values;
}

std::optional<BinanceCredentials> LocalCredentialStore::binanceCredentials() const
{
    if (auto v = twoFields(CredentialField::binanceAPIKey, CredentialField::binanceSecretKey)) {
        return BinanceCredentials{v->first, v->second};
    }
    return std::nullopt;
}

std::optional<OKXCredentials> LocalCredentialStore::okxCredentials() const
{
    if (auto v = threeFields(CredentialField::okxAPIKey, CredentialField::okxSecretKey,
                             CredentialField::okxPassphrase)) {
        return OKXCredentials{(*v)[0], (*v)[1], (*v)[2]};
    }
    return std::nullopt;
}

std::optional<BybitCredentials> LocalCredentialStore::bybitCredentials() const
{
    if (auto v = twoFields(CredentialField::bybitAPIKey, CredentialField::bybitSecretKey)) {
        return BybitCredentials{v->first, v->second};
    }
    return std::nullopt;
}

std::optional<GateCredentials> LocalCredentialStore::gateCredentials() const
{
    if (auto v = twoFields(CredentialField::gateAPIKey, CredentialField::gateSecretKey)) {
        return GateCredentials{v->first, v->second};
    }
    return std::nullopt;
}

std::optional<BitgetCredentials> LocalCredentialStore::bitgetCredentials() const
{
    if (auto v = threeFields(CredentialField::bitgetAPIKey, CredentialField::bitgetSecretKey,
                             CredentialField::bitgetPassphrase)) {
        return BitgetCredentials{(*v)[0], (*v)[1], (*v)[2]};
    }
    return std::nullopt;
}

bool LocalCredentialStore::hasCompleteCredentials(Exchange exchange) const
{
    switch (exchange) {
        case Exchange::binance:
            return binanceCredentials().has_value();
        case Exchange::okx:
            return okxCredentials().has_value();
        case Exchange::bybit:
            return bybitCredentials().has_value();
        case Exchange::bitget:
            return bitgetCredentials().has_value();
        case Exchange::gateio:
            return gateCredentials().has_value();
    }
    return false;
}

LocalCredentialStore::StoredList LocalCredentialStore::readList() const
{
    const QVariant stored = m_defaults->value(accountListKey);
    if (!stored.isValid()) {
        return {};
    }
    if (stored.typeId() == QMetaType::QByteArray) {
        try {
            return {decodeJson<std::vector<AdditionalExchangeAccount>>(
                        JsonReader::parse(stored.toByteArray())),
                    std::nullopt};
        } catch (const JsonDecodeError&) {
            // One bad entry spoils the whole list; kept aside below before it is overwritten.
        }
    }
    return {{}, stored};
}

// A list that could not be read is kept under its own key in the same change, so the user's
// other accounts can still be recovered. A list that cannot be encoded changes nothing.
bool LocalCredentialStore::addList(DefaultsChange& change, const StoredList& previous,
                                   const std::vector<AdditionalExchangeAccount>& list)
{
    QByteArray encoded;
    try {
        encoded = JsonWriter::write(encodeJson(list));
    } catch (const JsonEncodeError&) {
        return false;
    }
    if (previous.unreadable) {
        change.set(unreadableListKey, *previous.unreadable);
    }
    change.set(accountListKey, encoded);
    return true;
}

std::vector<AdditionalExchangeAccount> LocalCredentialStore::additionalAccounts() const
{
    return readList().accounts;
}

bool LocalCredentialStore::saveAccount(const AdditionalExchangeAccount& account,
                                       const CredentialValues& values)
{
    const StoredList stored = readList();
    std::vector<AdditionalExchangeAccount> list = withoutAccount(stored.accounts, account.id);
    list.push_back(account);
    DefaultsChange change;
    forAccount(account.id).addValues(change, values);
    return addList(change, stored, list) && commit(change);
}

bool LocalCredentialStore::removeAccount(const QString& id)
{
    DefaultsChange change;
    const LocalCredentialStore scope = forAccount(id);
    for (CredentialField field : allCredentialFields) {
        change.remove(scope.storageKey(field));
    }
    const StoredList stored = readList();
    return addList(change, stored, withoutAccount(stored.accounts, id)) && commit(change);
}

QString LocalCredentialStore::portfolioIdentity() const
{
    std::vector<QString> strings;
    for (CredentialField field : allCredentialFields) {
        strings.push_back(valueOrEmpty(field));
    }

    // Sorted by id in code-point order (UTF-8 bytes compare that way); equal ids keep their
    // list order.
    std::vector<std::pair<QByteArray, AdditionalExchangeAccount>> accounts;
    for (AdditionalExchangeAccount& account : additionalAccounts()) {
        accounts.emplace_back(account.id.toUtf8(), std::move(account));
    }
    std::stable_sort(accounts.begin(), accounts.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    for (const auto& [sortKey, account] : accounts) {
        const LocalCredentialStore scope = forAccount(account.id);
        if (!scope.hasCompleteCredentials(account.exchange)) {
            continue;
        }
        strings.push_back(account.id);
        strings.push_back(toStored(account.exchange));
        for (CredentialField field : allCredentialFields) {
            strings.push_back(scope.valueOrEmpty(field));
        }
    }

    const QByteArray digest =
        QCryptographicHash::hash(identityJson(strings), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex());
}

}  // namespace vantrell
