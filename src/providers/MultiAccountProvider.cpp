#include "providers/MultiAccountProvider.h"

#include "concurrency/TaskJoin.h"
#include "networking/ExchangeAPIError.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace vantrell {

namespace {

// The label of an outcome whose id matches no connection.
QString fallbackLabel()
{
    return QStringLiteral("账户");
}

// The warning text of a failed account. The exchange's own wording of HTTP and API rejections
// is replaced by advice the user can act on.
QString failureMessage(const ExchangeAPIError& error)
{
    switch (error.kind()) {
        case ExchangeAPIError::Kind::httpStatus:
            return QStringLiteral("HTTP ") % QString::number(error.statusCode()) %
                   QStringLiteral("，请检查权限或网络");
        case ExchangeAPIError::Kind::api:
            return QStringLiteral("交易所拒绝请求，请检查只读权限、账户模式和 API 配置");
        case ExchangeAPIError::Kind::rateLimited:
            return QStringLiteral("请求频率受限");
        default:
            return error.errorDescription();
    }
}

template <class Row>
void appendStamped(std::vector<Row>& target, const std::vector<Row>& rows,
                   const AccountProviderConnection& connection)
{
    for (Row row : rows) {
        row.accountID = connection.id;
        row.accountAlias = connection.alias;
        target.push_back(std::move(row));
    }
}

}  // namespace

// --- Outcome ---

MultiAccountProvider::Outcome MultiAccountProvider::Outcome::success(
    QString id, ExchangeProviderSnapshot snapshot)
{
    return Outcome{std::move(id), std::move(snapshot), std::nullopt, std::nullopt};
}

MultiAccountProvider::Outcome MultiAccountProvider::Outcome::failure(
    QString id, const std::exception_ptr& error)
{
    Outcome outcome{std::move(id), std::nullopt, std::nullopt,
                    QStringLiteral("数据解析失败，请稍后重试")};
    if (!error) {
        return outcome;
    }
    try {
        std::rethrow_exception(error);
    } catch (const ExchangeAPIError& apiError) {
        outcome.message = failureMessage(apiError);
        if (apiError.kind() == ExchangeAPIError::Kind::rateLimited) {
            outcome.retryAfter = apiError.retryAfterSeconds();
        }
    } catch (...) {
        // Anything else (a reply we could not read, a cancellation) keeps the generic text.
    }
    return outcome;
}

// --- Fetch ---

MultiAccountProvider::Fetch::Fetch(Exchange exchange,
                                   const std::vector<AccountProviderConnection>& connections,
                                   const SnapshotMap& previous)
    : m_exchange(exchange), m_connections(connections), m_previous(previous)
{
}

void MultiAccountProvider::Fetch::add(Outcome outcome)
{
    if (outcome.retryAfter) {
        m_retryAfter = std::max(*outcome.retryAfter, m_retryAfter.value_or(0.0));
    }
    const QString label = labelFor(outcome.id);
    if (outcome.snapshot) {
        addSnapshot(label, outcome.id, std::move(*outcome.snapshot));
    } else {
        addFailure(label, outcome);
    }
}

QString MultiAccountProvider::Fetch::labelFor(const QString& id) const
{
    const auto connection =
        std::find_if(m_connections.cbegin(), m_connections.cend(),
                     [&id](const AccountProviderConnection& c) { return c.id == id; });
    return connection != m_connections.cend() ? connection->alias : fallbackLabel();
}

void MultiAccountProvider::Fetch::addWarning(const QString& label, const QString& text)
{
    m_warnings.push_back(label % QStringLiteral("：") % text);
}

void MultiAccountProvider::Fetch::addFailure(const QString& label, const Outcome& outcome)
{
    const auto previous = m_previous.find(outcome.id);
    if (previous != m_previous.end()) {
        m_kept.insert_or_assign(outcome.id, previous->second);
        m_cached = true;
        addWarning(label, outcome.message.value_or(QStringLiteral("更新失败")) %
                              QStringLiteral("，保留上次数据"));
    } else {
        m_unavailable = true;
        addWarning(label, outcome.message.value_or(QStringLiteral("尚未获取资产")));
    }
}

void MultiAccountProvider::Fetch::addSnapshot(const QString& label, const QString& id,
                                              ExchangeProviderSnapshot s)
{
    for (const QString& warning : s.accountWarnings) {
        addWarning(label, warning);
    }
    const auto previous = m_previous.find(id);
    const bool hasPrevious = previous != m_previous.end();
    if (s.positionsUnavailable) {
        addWarning(label, hasPrevious ? QStringLiteral("持仓接口未更新，保留上次持仓")
                                      : QStringLiteral("持仓接口未更新"));
    }

    // A complete earlier snapshot beats a new one with holes in it.
    if (hasPrevious && previous->second.isComplete() && !s.isComplete()) {
        m_kept.insert_or_assign(id, previous->second);
        m_cached = true;
        addWarning(label, QStringLiteral("部分接口失败，保留完整数据"));
        return;
    }
    // Fresh balances, but the positions of last time rather than none.
    if (s.positionsUnavailable && hasPrevious) {
        ExchangeProviderSnapshot kept;
        kept.account = std::move(s.account);
        kept.balances = std::move(s.balances);
        kept.positions = previous->second.positions;
        kept.missingAccounts = std::move(s.missingAccounts);
        kept.positionsUnavailable = true;
        kept.unpricedAssets = std::move(s.unpricedAssets);
        kept.accountWarnings = std::move(s.accountWarnings);
        m_kept.insert_or_assign(id, std::move(kept));
        return;
    }
    m_kept.insert_or_assign(id, std::move(s));
}

ExchangeProviderSnapshot MultiAccountProvider::Fetch::result() const
{
    if (!m_kept.empty()) {
        return merge();
    }
    if (m_retryAfter) {
        throw ExchangeAPIError::rateLimited(*m_retryAfter);
    }
    const QStringList warnings(m_warnings.cbegin(), m_warnings.cend());
    throw ExchangeAPIError::api(warnings.join(QStringLiteral("；")));
}

ExchangeProviderSnapshot MultiAccountProvider::Fetch::merge() const
{
    ExchangeProviderSnapshot merged;
    merged.account.exchange = m_exchange;
    // Keyed by the stored name: QString's operator< compares code points, which orders the
    // types 交易账户, 合约, 现货, 资金账户 whatever the user's locale.
    std::map<QString, AccountBreakdown> sums;

    for (const AccountProviderConnection& connection : m_connections) {
        const auto kept = m_kept.find(connection.id);
        if (kept == m_kept.end()) {
            continue;
        }
        const ExchangeProviderSnapshot& s = kept->second;
        merged.account.totalValue += s.account.totalValue;
        for (const AccountBreakdown& breakdown : s.account.accounts) {
            auto sum =
                sums.try_emplace(toStored(breakdown.type), AccountBreakdown{breakdown.type, 0})
                    .first;
            sum->second.value += breakdown.value;
        }
        merged.missingAccounts.insert(s.missingAccounts.cbegin(), s.missingAccounts.cend());
        merged.unpricedAssets.insert(merged.unpricedAssets.end(), s.unpricedAssets.cbegin(),
                                     s.unpricedAssets.cend());
        appendStamped(merged.positions, s.positions, connection);
        appendStamped(merged.balances, s.balances, connection);
    }

    for (const auto& [stored, breakdown] : sums) {
        merged.account.accounts.push_back(breakdown);
    }
    merged.containsCachedAccounts = m_cached;
    merged.accountsUnavailable = m_unavailable;
    merged.accountWarnings = m_warnings;
    merged.components = m_kept;
    merged.retryAfter = m_retryAfter;
    return merged;
}

// --- MultiAccountProvider ---

MultiAccountProvider::MultiAccountProvider(Exchange exchange,
                                           std::vector<AccountProviderConnection> connections,
                                           SnapshotMap previous)
    : m_data(
          std::make_shared<const Data>(Data{exchange, std::move(connections), std::move(previous)}))
{
}

QCoro::Task<ExchangeProviderSnapshot> MultiAccountProvider::fetchSnapshot() const
{
    return fetchAll(m_data);
}

QCoro::Task<void> MultiAccountProvider::testConnection() const
{
    return testAll(m_data);
}

QCoro::Task<ExchangeProviderSnapshot> MultiAccountProvider::fetchAll(
    std::shared_ptr<const Data> data)
{
    // Every account starts before the first result is looked at.
    TaskJoin<Outcome> join;
    for (const AccountProviderConnection& connection : data->connections) {
        join.add(fetchOne(connection.id, connection.provider));
    }
    // Outcomes in completion order: that order decides the order of the warning lines.
    Fetch fetch(data->exchange, data->connections, data->previous);
    while (auto finished = co_await join.next()) {
        fetch.add(std::move(finished->value));
    }
    co_return fetch.result();
}

QCoro::Task<void> MultiAccountProvider::testAll(std::shared_ptr<const Data> data)
{
    for (const AccountProviderConnection& connection : data->connections) {
        co_await connection.provider->testConnection();
    }
}

QCoro::Task<MultiAccountProvider::Outcome> MultiAccountProvider::fetchOne(
    QString id, std::shared_ptr<const ExchangeProvider> provider)
{
    std::exception_ptr error;
    try {
        // Awaited as its own statement: g++ 12 mishandles temporaries of an argument that
        // contains co_await.
        ExchangeProviderSnapshot snapshot = co_await provider->fetchSnapshot();
        co_return Outcome::success(id, std::move(snapshot));
    } catch (...) {
        error = std::current_exception();
    }
    co_return Outcome::failure(std::move(id), error);
}

}  // namespace vantrell
