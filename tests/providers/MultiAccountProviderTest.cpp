#include "providers/MultiAccountProvider.h"

#include "networking/ExchangeAPIError.h"
#include "support/FakeExchangeProvider.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vantrell {
namespace {

using namespace std::chrono_literals;
using Outcome = MultiAccountProvider::Outcome;

AssetBalance balance(const QString& asset, int value)
{
    AssetBalance row;
    row.exchange = Exchange::okx;
    row.asset = asset;
    row.quantity = value;
    row.valueInUSD = value;
    return row;
}

Position position(const QString& symbol)
{
    Position row;
    row.exchange = Exchange::okx;
    row.symbol = symbol;
    row.quantity = 1;
    return row;
}

// A complete snapshot with one balance per breakdown entry.
ExchangeProviderSnapshot snapshot(int total, std::vector<AccountBreakdown> breakdowns = {},
                                  std::vector<Position> positions = {})
{
    ExchangeProviderSnapshot s;
    s.account.exchange = Exchange::okx;
    s.account.totalValue = total;
    s.account.accounts = std::move(breakdowns);
    for (const AccountBreakdown& breakdown : s.account.accounts) {
        AssetBalance row = balance(toStored(breakdown.type), 1);
        row.accountType = breakdown.type;
        s.balances.push_back(row);
    }
    s.positions = std::move(positions);
    return s;
}

std::shared_ptr<FakeExchangeProvider> delayed(std::shared_ptr<FakeExchangeProvider> fake,
                                              std::chrono::milliseconds delay)
{
    fake->setDelay(delay);
    return fake;
}

AccountProviderConnection connection(QString id, QString alias,
                                     std::shared_ptr<const ExchangeProvider> provider)
{
    return {std::move(id), std::move(alias), std::move(provider)};
}

struct FetchResult {
    std::optional<ExchangeProviderSnapshot> snapshot;
    std::optional<ExchangeAPIError> error;
};

FetchResult fetch(std::vector<AccountProviderConnection> connections,
                  MultiAccountProvider::SnapshotMap previous = {})
{
    const MultiAccountProvider provider(Exchange::okx, std::move(connections),
                                        std::move(previous));
    test::TaskResult<ExchangeProviderSnapshot> result = test::runTask(provider.fetchSnapshot());
    return FetchResult{std::move(result.value), result.errorAs<ExchangeAPIError>()};
}

TEST(MultiAccountProviderTest, MergesAccountsInConnectionOrderAndStampsOnlyTheRows)
{
    auto first = snapshot(100, {{AccountType::spot, 10}, {AccountType::futures, 5}},
                          {position(QStringLiteral("BTC-USDT"))});
    first.unpricedAssets = {QStringLiteral("XYZ")};
    auto second = snapshot(7, {{AccountType::spot, 2}, {AccountType::funding, 3}});
    second.unpricedAssets = {QStringLiteral("XYZ")};
    second.missingAccounts = {AccountType::trading};

    // The first connection finishes last: the merge still follows connection order.
    const auto result = fetch({
        connection(QStringLiteral("okx"), QStringLiteral("默认账户"),
                   delayed(FakeExchangeProvider::returning(first), 5ms)),
        connection(QStringLiteral("sub"), QStringLiteral("子账户"),
                   FakeExchangeProvider::returning(second)),
    });

    ASSERT_TRUE(result.snapshot);
    const ExchangeProviderSnapshot& merged = *result.snapshot;
    EXPECT_EQ(merged.account.exchange, Exchange::okx);
    EXPECT_EQ(merged.account.totalValue, Decimal(107));  // the totals, not the breakdowns
    EXPECT_FALSE(merged.account.dailyChangePercent);
    EXPECT_EQ(merged.account.accounts,
              (std::vector<AccountBreakdown>{
                  {AccountType::futures, 5}, {AccountType::spot, 12}, {AccountType::funding, 3}}));
    ASSERT_EQ(merged.balances.size(), 4u);
    const std::vector<std::pair<QString, QString>> owners{
        {"okx", "默认账户"}, {"okx", "默认账户"}, {"sub", "子账户"}, {"sub", "子账户"}};
    for (std::size_t i = 0; i < owners.size(); ++i) {
        EXPECT_EQ(merged.balances[i].accountID, owners[i].first);
        EXPECT_EQ(merged.balances[i].accountAlias, owners[i].second);
    }
    ASSERT_EQ(merged.positions.size(), 1u);
    EXPECT_EQ(merged.positions[0].accountID, QStringLiteral("okx"));
    EXPECT_EQ(merged.unpricedAssets, (std::vector<QString>{"XYZ", "XYZ"}));
    EXPECT_EQ(merged.missingAccounts, std::set<AccountType>{AccountType::trading});
    EXPECT_FALSE(merged.containsCachedAccounts);
    EXPECT_FALSE(merged.accountsUnavailable);
    EXPECT_TRUE(merged.accountWarnings.empty());
    EXPECT_FALSE(merged.retryAfter);
    EXPECT_EQ(merged.components,
              (MultiAccountProvider::SnapshotMap{{"okx", first}, {"sub", second}}));
}

TEST(MultiAccountProviderTest, RateLimitedAccountKeepsItsEarlierSnapshot)
{
    const auto earlier = snapshot(50, {{AccountType::spot, 50}});
    const auto fresh = snapshot(20, {{AccountType::spot, 20}});

    const auto result =
        fetch({connection(QStringLiteral("okx"), QStringLiteral("默认账户"),
                          FakeExchangeProvider::throwing(ExchangeAPIError::rateLimited(30))),
               connection(QStringLiteral("sub"), QStringLiteral("子账户"),
                          FakeExchangeProvider::returning(fresh))},
              {{QStringLiteral("okx"), earlier}});

    ASSERT_TRUE(result.snapshot);
    EXPECT_EQ(result.snapshot->account.totalValue, Decimal(70));
    EXPECT_TRUE(result.snapshot->containsCachedAccounts);
    EXPECT_FALSE(result.snapshot->accountsUnavailable);
    EXPECT_EQ(result.snapshot->accountWarnings,
              std::vector<QString>{QStringLiteral("默认账户：请求频率受限，保留上次数据")});
    EXPECT_EQ(result.snapshot->retryAfter, 30.0);
    EXPECT_EQ(result.snapshot->components->at(QStringLiteral("okx")), earlier);
}

TEST(MultiAccountProviderTest, EveryAccountFailingFailsTheFetch)
{
    // The first connection answers last, so its line comes last.
    const auto result = fetch({
        connection(QStringLiteral("okx"), QStringLiteral("默认账户"),
                   delayed(FakeExchangeProvider::throwing(std::runtime_error("bad json")), 5ms)),
        connection(QStringLiteral("sub"), QStringLiteral("子账户"),
                   FakeExchangeProvider::throwing(ExchangeAPIError::httpStatus(500, "oops"))),
    });
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->kind(), ExchangeAPIError::Kind::api);
    EXPECT_EQ(
        result.error->message(),
        QStringLiteral("子账户：HTTP 500，请检查权限或网络；默认账户：数据解析失败，请稍后重试"));

    const auto limited = fetch({
        connection(QStringLiteral("a"), QStringLiteral("A"),
                   FakeExchangeProvider::throwing(ExchangeAPIError::rateLimited(12))),
        connection(QStringLiteral("b"), QStringLiteral("B"),
                   FakeExchangeProvider::throwing(ExchangeAPIError::network())),
        connection(QStringLiteral("c"), QStringLiteral("C"),
                   FakeExchangeProvider::throwing(ExchangeAPIError::rateLimited(5))),
    });
    ASSERT_TRUE(limited.error);
    EXPECT_EQ(*limited.error, ExchangeAPIError::rateLimited(12));

    const auto none = fetch({});
    ASSERT_TRUE(none.error);
    EXPECT_EQ(*none.error, ExchangeAPIError::api(QString()));
}

TEST(MultiAccountProviderTest, OutcomeOfEachKindOfFailure)
{
    struct Row {
        std::exception_ptr error;
        QString message;
        std::optional<double> retryAfter;
    };
    const std::vector<Row> rows{
        {std::make_exception_ptr(ExchangeAPIError::httpStatus(403, QStringLiteral("denied"))),
         QStringLiteral("HTTP 403，请检查权限或网络"), std::nullopt},
        {std::make_exception_ptr(ExchangeAPIError::api(QStringLiteral("code 50113"))),
         QStringLiteral("交易所拒绝请求，请检查只读权限、账户模式和 API 配置"), std::nullopt},
        {std::make_exception_ptr(ExchangeAPIError::rateLimited(7.5)),
         QStringLiteral("请求频率受限"), 7.5},
        {std::make_exception_ptr(ExchangeAPIError::decoding(QStringLiteral("detail"))),
         QStringLiteral("交易所返回的数据格式暂不支持"), std::nullopt},
        {std::make_exception_ptr(ExchangeAPIError::network()),
         QStringLiteral("网络请求失败，请检查网络后重试"), std::nullopt},
        {std::make_exception_ptr(std::runtime_error("cancelled")),
         QStringLiteral("数据解析失败，请稍后重试"), std::nullopt},
    };
    for (const Row& row : rows) {
        const Outcome outcome = Outcome::failure(QStringLiteral("id"), row.error);
        EXPECT_EQ(outcome.id, QStringLiteral("id"));
        EXPECT_FALSE(outcome.snapshot);
        EXPECT_EQ(outcome.message, row.message);
        EXPECT_EQ(outcome.retryAfter, row.retryAfter);
    }
}

class MultiAccountFetchTest : public ::testing::Test {
protected:
    std::vector<QString> warningsAfter(std::vector<Outcome> outcomes)
    {
        MultiAccountProvider::Fetch fetch(Exchange::okx, connections, previous);
        for (Outcome& outcome : outcomes) {
            fetch.add(std::move(outcome));
        }
        m_result = fetch.result();
        return m_result->accountWarnings;
    }
    const ExchangeProviderSnapshot& result() const { return *m_result; }
    const ExchangeProviderSnapshot& kept(const QString& id) const
    {
        return m_result->components->at(id);
    }

    std::vector<AccountProviderConnection> connections{
        connection(QStringLiteral("a"), QStringLiteral("A"), nullptr),
        connection(QStringLiteral("b"), QStringLiteral("B"), nullptr)};
    MultiAccountProvider::SnapshotMap previous;

private:
    std::optional<ExchangeProviderSnapshot> m_result;
};

TEST_F(MultiAccountFetchTest, AnIncompleteSnapshotAfterACompleteOneKeepsTheEarlierWhole)
{
    previous[QStringLiteral("a")] =
        snapshot(40, {{AccountType::futures, 40}}, {position(QStringLiteral("OLD"))});
    auto fresh = snapshot(10, {{AccountType::spot, 10}}, {position(QStringLiteral("NEW"))});
    fresh.missingAccounts = {AccountType::futures};
    fresh.accountWarnings = {QStringLiteral("合约账户读取失败")};
    fresh.positionsUnavailable = true;

    EXPECT_EQ(warningsAfter({Outcome::success(QStringLiteral("a"), fresh)}),
              (std::vector<QString>{"A：合约账户读取失败", "A：持仓接口未更新，保留上次持仓",
                                    "A：部分接口失败，保留完整数据"}));
    EXPECT_EQ(kept(QStringLiteral("a")), previous[QStringLiteral("a")]);
    EXPECT_TRUE(result().containsCachedAccounts);
    EXPECT_EQ(result().positions[0].symbol, QStringLiteral("OLD"));
}

TEST_F(MultiAccountFetchTest, FailedPositionsKeepTheEarlierPositionsWhenThereAreAny)
{
    previous[QStringLiteral("a")] = snapshot(40, {}, {position(QStringLiteral("OLD"))});
    auto fresh = snapshot(10, {{AccountType::spot, 10}});
    fresh.positionsUnavailable = true;
    fresh.retryAfter = 9;  // not carried into the kept snapshot

    EXPECT_EQ(warningsAfter({Outcome::success(QStringLiteral("a"), fresh)}),
              std::vector<QString>{"A：持仓接口未更新，保留上次持仓"});
    ExchangeProviderSnapshot expected = fresh;
    expected.positions = previous[QStringLiteral("a")].positions;
    expected.retryAfter.reset();
    EXPECT_EQ(kept(QStringLiteral("a")), expected);
    EXPECT_FALSE(result().positionsUnavailable);
    EXPECT_FALSE(result().containsCachedAccounts);
    EXPECT_EQ(result().positions[0].symbol, QStringLiteral("OLD"));

    auto alone = fresh;
    EXPECT_EQ(warningsAfter({Outcome::success(QStringLiteral("b"), alone)}),
              std::vector<QString>{"B：持仓接口未更新"});
    EXPECT_EQ(kept(QStringLiteral("b")), alone);
    EXPECT_FALSE(result().positionsUnavailable);
}

TEST_F(MultiAccountFetchTest, FailuresWithoutMessageOrConnectionUseTheFallbackTexts)
{
    previous[QStringLiteral("a")] = snapshot(40);
    const auto warnings = warningsAfter({
        Outcome{QStringLiteral("a"), std::nullopt, std::nullopt, std::nullopt},
        Outcome{QStringLiteral("gone"), std::nullopt, std::nullopt, std::nullopt},
        Outcome{QStringLiteral("b"), std::nullopt, 0.0, QStringLiteral("请求频率受限")},
    });
    EXPECT_EQ(warnings, (std::vector<QString>{"A：更新失败，保留上次数据", "账户：尚未获取资产",
                                              "B：请求频率受限"}));
    EXPECT_TRUE(result().containsCachedAccounts);
    EXPECT_TRUE(result().accountsUnavailable);
    EXPECT_EQ(result().retryAfter, 0.0);  // present: one account carried a delay
}

TEST(MultiAccountProviderTest, TestConnectionStopsAtTheFirstFailure)
{
    auto first = std::make_shared<FakeExchangeProvider>(Exchange::okx);
    auto second = std::make_shared<FakeExchangeProvider>(Exchange::okx);
    auto third = std::make_shared<FakeExchangeProvider>(Exchange::okx);
    first->setDelay(1ms);
    second->setTestError(std::make_exception_ptr(ExchangeAPIError::missingCredentials()));
    const MultiAccountProvider provider(
        Exchange::okx,
        {connection("a", "A", first), connection("b", "B", second), connection("c", "C", third)},
        {});

    EXPECT_EQ(test::runTask(provider.testConnection()).errorAs<ExchangeAPIError>(),
              ExchangeAPIError::missingCredentials());
    EXPECT_EQ(first->testCount(), 1);
    EXPECT_EQ(second->testCount(), 1);
    EXPECT_EQ(third->testCount(), 0);

    const MultiAccountProvider empty(Exchange::okx, {}, {});
    EXPECT_TRUE(test::runTask(empty.testConnection()).succeeded());
}

}  // namespace
}  // namespace vantrell
