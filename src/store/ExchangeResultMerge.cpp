#include "store/ExchangeResultMerge.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace vantrell {

const QString ExchangeResultMerge::keepLastSuffix = QStringLiteral("保留上次完整资产");

namespace {

const QString accountMissingKey = QStringLiteral("账户缺失");

// Plain code-point order: UTF-8 bytes compare that way, UTF-16 units do not above U+FFFF, and
// asset symbols come from the exchanges.
bool codePointLess(const QString& a, const QString& b)
{
    return a.toUtf8() < b.toUtf8();
}

QStringList missingList(const ExchangeProviderSnapshot& result)
{
    QStringList missing;
    for (AccountType type : result.missingAccounts) {
        missing.append(toStored(type));
    }
    std::sort(missing.begin(), missing.end(), codePointLess);
    return missing;
}

QStringList unpricedList(const ExchangeProviderSnapshot& result)
{
    QStringList unpriced(result.unpricedAssets.begin(), result.unpricedAssets.end());
    std::sort(unpriced.begin(), unpriced.end(), codePointLess);
    return unpriced;
}

template <typename Row>
std::vector<Row> othersThen(const std::vector<Row>& current, Exchange exchange,
                            const std::vector<Row>& replacement)
{
    std::vector<Row> rows;
    rows.reserve(current.size() + replacement.size());
    std::copy_if(current.begin(), current.end(), std::back_inserter(rows),
                 [exchange](const Row& row) { return row.exchange != exchange; });
    rows.insert(rows.end(), replacement.begin(), replacement.end());
    return rows;
}

template <typename Row>
bool holdsOther(const std::vector<Row>& rows, const std::set<Exchange>& configured)
{
    return std::any_of(rows.begin(), rows.end(), [&configured](const Row& row) {
        return !configured.contains(row.exchange);
    });
}

template <typename Row>
void keepConfigured(std::vector<Row>& rows, const std::set<Exchange>& configured)
{
    std::erase_if(rows,
                  [&configured](const Row& row) { return !configured.contains(row.exchange); });
}

Decimal sumOfTotals(const std::vector<ExchangeAccount>& accounts)
{
    Decimal total;
    for (const ExchangeAccount& account : accounts) {
        total += account.totalValue;
    }
    return total;
}

}  // namespace

ExchangeResultMerge::Changes ExchangeResultMerge::apply(PortfolioRefreshState& state,
                                                        const ProviderRefreshResult& result,
                                                        Date date, double refreshInterval)
{
    if (const auto* failure = std::get_if<ProviderRefreshResult::Failure>(&result.outcome)) {
        applyFailure(state, *failure, date, refreshInterval);
        return {};
    }
    return applySuccess(state, std::get<ProviderRefreshResult::Success>(result.outcome), date,
                        refreshInterval);
}

void ExchangeResultMerge::applyFailure(PortfolioRefreshState& state,
                                       const ProviderRefreshResult::Failure& failure, Date date,
                                       double refreshInterval)
{
    state.backoffs[failure.exchange].failed(date, refreshInterval, failure.retryAfter);
    const std::optional<Date> lastSuccess = state.status(failure.exchange).lastSuccess;
    state.statuses[failure.exchange] = {ExchangeRefreshStatus::State::failed(failure.message),
                                        lastSuccess, failure.message};
}

ExchangeResultMerge::Changes ExchangeResultMerge::applySuccess(
    PortfolioRefreshState& state, const ProviderRefreshResult::Success& success, Date date,
    double refreshInterval)
{
    const Exchange exchange = success.exchange;
    const ExchangeProviderSnapshot& result = success.snapshot;
    const QString key = qualityKey(result);
    const QString text = statusText(result);

    const auto quality = state.quality.find(exchange);
    const bool hadComplete = quality != state.quality.end() && quality->second.isEmpty();
    const auto& accounts = state.snapshot.exchanges;
    const bool isShown = std::any_of(accounts.begin(), accounts.end(),
                                     [exchange](const auto& a) { return a.exchange == exchange; });
    if (!key.isEmpty() && hadComplete && isShown) {
        // The server's hint is passed on: keeping the old data must not make us ignore a wait
        // the exchange asked for.
        applyFailure(state, {exchange, text + keepLastSuffix, result.retryAfter}, date,
                     refreshInterval);
        return {};
    }

    state.quality[exchange] = key;
    state.components[exchange] =
        result.components.value_or(std::map<QString, ExchangeProviderSnapshot>{});
    state.backoffs[exchange] = RefreshBackoff{};
    state.snapshot = merged(state.snapshot, exchange, result);

    const std::optional<Date> previousSuccess = state.status(exchange).lastSuccess;
    if (result.containsCachedAccounts) {
        state.statuses[exchange] = {ExchangeRefreshStatus::State::failed(text), previousSuccess,
                                    text};
    } else {
        state.statuses[exchange] = {ExchangeRefreshStatus::State::connected(), date, text};
    }
    if (result.containsCachedAccounts || result.accountsUnavailable) {
        state.backoffs[exchange].failed(date, refreshInterval, result.retryAfter);
    }
    state.lastUpdated = date;
    return {true, true};
}

QString ExchangeResultMerge::qualityKey(const ExchangeProviderSnapshot& result)
{
    QStringList parts = missingList(result) + unpricedList(result);
    if (result.accountsUnavailable) {
        parts.append(accountMissingKey);
    }
    return parts.join(u',');
}

QString ExchangeResultMerge::statusText(const ExchangeProviderSnapshot& result)
{
    QString text;
    const QStringList missing = missingList(result);
    if (!missing.isEmpty()) {
        text += u"未获取账户：" + missing.join(u"、") + u"。";
    }
    if (!result.unpricedAssets.empty()) {
        text += u"部分资产暂无报价。";
    }
    if (result.positionsUnavailable) {
        text += u"持仓接口暂不可用。";
    }
    const QStringList warnings(result.accountWarnings.begin(), result.accountWarnings.end());
    return text + warnings.join(u"。");
}

PortfolioSnapshot ExchangeResultMerge::merged(const PortfolioSnapshot& current, Exchange exchange,
                                              const ExchangeProviderSnapshot& result)
{
    PortfolioSnapshot snapshot;
    snapshot.exchanges = othersThen(current.exchanges, exchange, {result.account});
    snapshot.positions = result.positionsUnavailable
                             ? current.positions
                             : othersThen(current.positions, exchange, result.positions);
    snapshot.totalValue = sumOfTotals(snapshot.exchanges);
    std::stable_sort(snapshot.exchanges.begin(), snapshot.exchanges.end(),
                     [](const ExchangeAccount& a, const ExchangeAccount& b) {
                         return toStored(a.exchange) < toStored(b.exchange);
                     });
    snapshot.balances = othersThen(current.balances, exchange, result.balances);
    snapshot.isLive = true;
    return snapshot;
}

std::optional<PortfolioSnapshot> ExchangeResultMerge::pruned(const PortfolioSnapshot& snapshot,
                                                             const std::set<Exchange>& configured)
{
    if (!snapshot.isLive || !(holdsOther(snapshot.exchanges, configured) ||
                              holdsOther(snapshot.positions, configured) ||
                              holdsOther(snapshot.balances, configured))) {
        return std::nullopt;
    }
    PortfolioSnapshot kept = snapshot;
    keepConfigured(kept.exchanges, configured);
    keepConfigured(kept.positions, configured);
    keepConfigured(kept.balances, configured);
    kept.totalValue = sumOfTotals(kept.exchanges);
    return kept;
}

}  // namespace vantrell
