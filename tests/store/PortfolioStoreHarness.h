#pragma once

// Shared by the PortfolioStore*Test files: a provider whose fetches the test releases by hand, and
// a store over an in-memory defaults store, a manual clock and a temporary data folder.

#include "files/PortfolioDiskWriter.h"
#include "models/JsonReader.h"
#include "platform/MemoryDefaultsStore.h"
#include "platform/WakeMonitor.h"
#include "security/LocalCredentialStore.h"
#include "store/ExchangeResultMerge.h"
#include "store/PortfolioStore.h"
#include "support/FakeSaveLocationPrompt.h"
#include "support/ManualClock.h"
#include "support/ManualGate.h"
#include "support/PortfolioSamples.h"
#include "support/RecordingNotifier.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <deque>
#include <exception>
#include <map>
#include <memory>

namespace vantrell::test {

// Answers each fetch with the snapshot or error set when the fetch started. While held, fetches
// wait until release() lets the oldest one finish, so a test decides the order of completion.
class GatedProvider final : public ExchangeProvider {
public:
    explicit GatedProvider(Exchange exchange) : m_exchange(exchange) {}

    void answer(ExchangeProviderSnapshot snapshot)
    {
        m_snapshot = std::move(snapshot);
        m_error = nullptr;
    }
    template <class Error>
    void fail(Error error)
    {
        m_error = std::make_exception_ptr(std::move(error));
    }
    void hold(bool held = true) { m_held = held; }
    // Lets the oldest waiting fetch finish; everything it drives runs before this returns.
    void release()
    {
        ASSERT_FALSE(m_gates.empty()) << "no fetch is waiting";
        std::shared_ptr<ManualGate> gate = m_gates.front();
        m_gates.pop_front();
        gate->open();
    }
    int fetches() const { return m_fetches; }

    Exchange exchange() const override { return m_exchange; }
    QCoro::Task<ExchangeProviderSnapshot> fetchSnapshot() const override
    {
        ++m_fetches;
        if (m_held) {
            m_gates.push_back(std::make_shared<ManualGate>());
        }
        return answer(m_held ? m_gates.back() : nullptr, m_snapshot, m_error);
    }
    QCoro::Task<void> testConnection() const override
    {
        return [](std::exception_ptr error) -> QCoro::Task<void> {
            if (error) {
                std::rethrow_exception(error);
            }
            co_return;
        }(m_error);
    }

private:
    static QCoro::Task<ExchangeProviderSnapshot> answer(std::shared_ptr<ManualGate> gate,
                                                        ExchangeProviderSnapshot snapshot,
                                                        std::exception_ptr error)
    {
        if (gate) {
            co_await gate->opened();
        }
        if (error) {
            std::rethrow_exception(error);
        }
        co_return snapshot;
    }

    Exchange m_exchange;
    ExchangeProviderSnapshot m_snapshot;
    std::exception_ptr m_error;
    bool m_held = false;
    // Changed by const fetches: the store holds providers as const.
    mutable std::deque<std::shared_ptr<ManualGate>> m_gates;
    mutable int m_fetches = 0;
};

inline Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

// One account's complete result: `total` held as spot (and futures when given).
inline ExchangeProviderSnapshot result(Exchange exchange, const char* spot,
                                       const char* futures = nullptr)
{
    ExchangeProviderSnapshot s;
    s.account = {exchange, dec(spot), std::nullopt, {{AccountType::spot, dec(spot)}}};
    if (futures != nullptr) {
        s.account.totalValue += dec(futures);
        s.account.accounts.push_back({AccountType::futures, dec(futures)});
    }
    s.balances = {{std::nullopt, std::nullopt, exchange, AccountType::spot, QStringLiteral("USDT"),
                   dec(spot), dec(spot)}};
    return s;
}

// The fields an exchange's account needs, the API key first.
inline std::vector<CredentialField> fieldsOf(Exchange exchange)
{
    using F = CredentialField;
    static const std::map<Exchange, std::vector<F>> fields{
        {Exchange::binance, {F::binanceAPIKey, F::binanceSecretKey}},
        {Exchange::okx, {F::okxAPIKey, F::okxSecretKey, F::okxPassphrase}},
        {Exchange::bybit, {F::bybitAPIKey, F::bybitSecretKey}},
        {Exchange::bitget, {F::bitgetAPIKey, F::bitgetSecretKey, F::bitgetPassphrase}},
        {Exchange::gateio, {F::gateAPIKey, F::gateSecretKey}}};
    return fields.at(exchange);
}

class StoreWorld {
public:
    StoreWorld() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }

    // Stores credentials whose API key is `key` for the main account (or the account `id`), and
    // returns the provider that the factory hands out for that key.
    std::shared_ptr<GatedProvider> configure(Exchange exchange, const QString& key,
                                             const std::optional<QString>& id = std::nullopt)
    {
        LocalCredentialStore scope(defaults, id);
        for (CredentialField field : fieldsOf(exchange)) {
            scope.setValue(field == fieldsOf(exchange).front() ? key : QStringLiteral("s"), field);
        }
        if (id) {
            LocalCredentialStore(defaults).saveAccount({*id, exchange, u"账户 " + *id});
        }
        auto& provider = providers[key];
        if (!provider) {
            provider = std::make_shared<GatedProvider>(exchange);
        }
        return provider;
    }

    // The provider configured for the scope's API key, if any.
    ProviderFactory factory()
    {
        return [this](const LocalCredentialStore& credentials,
                      Exchange exchange) -> std::shared_ptr<const ExchangeProvider> {
            const auto found =
                providers.find(credentials.value(fieldsOf(exchange).front()).value_or(QString()));
            return found == providers.end() ? nullptr : found->second;
        };
    }

    // A fresh writer per store: a writer remembers revisions per file across stores.
    std::unique_ptr<PortfolioStore> makeStore(
        std::optional<std::vector<PortfolioValuePoint>> historyOverride = std::nullopt,
        bool startAutomatically = false)
    {
        writer = std::make_unique<PortfolioDiskWriter>();
        PortfolioStore::Services services(defaults, clock, notifier, SupportFolder(folder()));
        services.writer = writer.get();
        services.wakeMonitor = &wakeMonitor;
        services.savePrompt = &savePrompt;
        services.timeZone = timeZone;
        return std::make_unique<PortfolioStore>(
            LocalCredentialStore(defaults), providerFactory ? providerFactory : factory(),
            std::move(services), startAutomatically, std::move(historyOverride));
    }

    // Carries out the file writes asked for and delivers their outcomes.
    void settleFiles()
    {
        if (writer) {
            writer->flush();
        }
        QCoreApplication::sendPostedEvents();
    }

    // Writes a record into the data folder as an earlier run would have left it.
    template <class Record>
    void writeFile(const Record& record, const QString& name)
    {
        PortfolioDiskWriter direct;
        direct.save(PortfolioDiskWriter::encoderOf(record), folder() + u'/' + name, 0, nullptr,
                    nullptr);
        direct.flush();
    }
    QString historyFile() { return u"portfolio-history-" + identity() + u".json"; }
    // The history record in the data folder's file `name`, once the writes asked for are done.
    std::optional<PortfolioHistory> readHistory(const QString& name)
    {
        settleFiles();
        QFile file(folder() + u'/' + name);
        if (!file.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        return PortfolioHistory::fromJson(JsonReader::parse(file.readAll()));
    }

    QString folder() const { return temporary.path() + QStringLiteral("/Vantrell"); }
    QString identity() { return LocalCredentialStore(defaults).portfolioIdentity(); }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir temporary;
    MemoryDefaultsStore defaults;
    ManualClock clock;
    RecordingNotifier notifier;
    WakeMonitor wakeMonitor;
    FakeSaveLocationPrompt savePrompt;
    std::unique_ptr<PortfolioDiskWriter> writer;
    std::map<QString, std::shared_ptr<GatedProvider>> providers;
    // When set, the stores made use these connectors instead of the gated providers.
    ProviderFactory providerFactory;
    // Where the stores made begin the local day; absent: the system's zone.
    std::optional<QTimeZone> timeZone = QTimeZone::utc();
};

// Runs one whole refresh cycle (the providers must not be held).
inline void refreshNow(PortfolioStore& store, bool force = true)
{
    ASSERT_TRUE(runTask(store.refreshNow(force)).succeeded());
}

}  // namespace vantrell::test
