#include "store/ConfiguredProviders.h"

#include "PortfolioStoreHarness.h"

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

class ConfiguredProvidersTest : public ::testing::Test {
protected:
    // The stored list exactly as given: the program's own saves never repeat an id.
    void storeList(const char* json)
    {
        ASSERT_TRUE(
            world.defaults.setValue(LocalCredentialStore::accountListKey, QByteArray(json)));
    }
    std::vector<QString> connectionIDs(Exchange exchange)
    {
        std::vector<QString> ids;
        for (const AccountProviderConnection& connection : ConfiguredProviders::connections(
                 LocalCredentialStore(world.defaults), world.factory(), exchange)) {
            ids.push_back(connection.id);
        }
        return ids;
    }

    StoreWorld world;
};

TEST_F(ConfiguredProvidersTest, AnAccountListedTwiceCountsOnce)
{
    world.configure(Exchange::binance, QStringLiteral("bn"))
        ->answer(result(Exchange::binance, "50"));
    world.configure(Exchange::binance, QStringLiteral("bn-a"), QStringLiteral("A"))
        ->answer(result(Exchange::binance, "100"));
    storeList(R"([{"id":"A","exchange":"Binance","alias":"a"},)"
              R"({"id":"A","exchange":"Binance","alias":"again"}])");
    EXPECT_EQ(connectionIDs(Exchange::binance),
              (std::vector<QString>{QStringLiteral("binance"), QStringLiteral("A")}));

    auto store = world.makeStore();
    refreshNow(*store);
    EXPECT_EQ(store->snapshot().totalValue, dec("150"));
    ASSERT_EQ(store->snapshot().balances.size(), 2U);
    EXPECT_EQ(store->snapshot().balances[1].accountAlias, QStringLiteral("a"));
}

TEST_F(ConfiguredProvidersTest, AnAccountWithAMainAccountsIDIsLeftOut)
{
    auto main = world.configure(Exchange::binance, QStringLiteral("bn"));
    world.configure(Exchange::binance, QStringLiteral("bn-x"), QStringLiteral("binance"));
    world.configure(Exchange::bybit, QStringLiteral("by-x"), QStringLiteral("okx"));
    world.configure(Exchange::bybit, QStringLiteral("by-b"), QStringLiteral("B"));
    const std::vector<AccountProviderConnection> binance = ConfiguredProviders::connections(
        LocalCredentialStore(world.defaults), world.factory(), Exchange::binance);
    ASSERT_EQ(binance.size(), 1U);
    EXPECT_EQ(binance[0].provider, main);
    EXPECT_EQ(connectionIDs(Exchange::bybit), std::vector<QString>{QStringLiteral("B")});

    // An exchange whose only account is left out is not configured: no provider, no status.
    LocalCredentialStore(world.defaults, QStringLiteral("B"))
        .removeValue(CredentialField::bybitAPIKey);
    EXPECT_TRUE(connectionIDs(Exchange::bybit).empty());
    EXPECT_EQ(ConfiguredProviders::exchanges(LocalCredentialStore(world.defaults), world.factory()),
              std::vector<Exchange>{Exchange::binance});
}

}  // namespace
