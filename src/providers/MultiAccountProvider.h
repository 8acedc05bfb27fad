#pragma once

#include "providers/AccountProviderConnection.h"
#include "providers/ExchangeProvider.h"

#include <QString>

#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace vantrell {

// All accounts of one exchange behind one provider. A fetch reads every account at once, keeps
// each account's new data or its earlier snapshot, turns every failure into a warning line and
// merges the accounts into one snapshot whose rows say which account they belong to.
//
// The provider never changes: the caller keeps the `components` of each result and hands them
// back as `previous` for the next one.
class MultiAccountProvider final : public ExchangeProvider {
public:
    using SnapshotMap = std::map<QString, ExchangeProviderSnapshot>;

    // What one account's fetch came to: a snapshot, or a failure with its warning text.
    struct Outcome {
        QString id;
        std::optional<ExchangeProviderSnapshot> snapshot;
        std::optional<double> retryAfter;  // seconds, from a rate limit
        std::optional<QString> message;

        static Outcome success(QString id, ExchangeProviderSnapshot snapshot);
        // Classifies the exception that the account's fetch threw.
        static Outcome failure(QString id, const std::exception_ptr& error);
    };

    // The state of one fetch: outcomes go in one at a time, in the order in which the accounts
    // finish; the merged snapshot comes out. The referenced lists must outlive it.
    class Fetch {
    public:
        Fetch(Exchange exchange, const std::vector<AccountProviderConnection>& connections,
              const SnapshotMap& previous);

        void add(Outcome outcome);
        // The merge of everything kept, in connection order. Throws ExchangeAPIError when no
        // account has anything kept.
        ExchangeProviderSnapshot result() const;

    private:
        QString labelFor(const QString& id) const;
        void addWarning(const QString& label, const QString& text);
        void addFailure(const QString& label, const Outcome& outcome);
        void addSnapshot(const QString& label, const QString& id, ExchangeProviderSnapshot s);
        ExchangeProviderSnapshot merge() const;

        Exchange m_exchange;
        const std::vector<AccountProviderConnection>& m_connections;
        const SnapshotMap& m_previous;
        SnapshotMap m_kept;
        std::vector<QString> m_warnings;
        std::optional<double> m_retryAfter;
        bool m_cached = false;
        bool m_unavailable = false;
    };

    MultiAccountProvider(Exchange exchange, std::vector<AccountProviderConnection> connections,
                         SnapshotMap previous);

    Exchange exchange() const override { return m_data->exchange; }
    const std::vector<AccountProviderConnection>& connections() const
    {
        return m_data->connections;
    }
    const SnapshotMap& previous() const { return m_data->previous; }

    // Fails only when no account has data: rateLimited when an account was rate limited,
    // otherwise api with every warning line.
    QCoro::Task<ExchangeProviderSnapshot> fetchSnapshot() const override;
    // Tests the accounts one after another; the first error stops the walk and is passed on.
    QCoro::Task<void> testConnection() const override;

private:
    struct Data {
        Exchange exchange;
        std::vector<AccountProviderConnection> connections;
        SnapshotMap previous;
    };

    // Static, holding the data by shared pointer: a running fetch does not depend on `this`.
    static QCoro::Task<ExchangeProviderSnapshot> fetchAll(std::shared_ptr<const Data> data);
    static QCoro::Task<void> testAll(std::shared_ptr<const Data> data);
    static QCoro::Task<Outcome> fetchOne(QString id,
                                         std::shared_ptr<const ExchangeProvider> provider);

    std::shared_ptr<const Data> m_data;
};

}  // namespace vantrell
