#include "security/ConnectorFactory.h"

#include "networking/NetworkHttpTransport.h"
#include "platform/MemoryDefaultsStore.h"
#include "providers/BinanceProvider.h"
#include "providers/BitgetProvider.h"
#include "providers/BybitProvider.h"
#include "providers/GateProvider.h"
#include "providers/OKXProvider.h"
#include "security/LocalCredentialStore.h"

#include "support/ExchangeFixtureServer.h"
#include "support/FakeHttpTransport.h"
#include "support/GateFixtureSignature.h"
#include "support/ManualClock.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrell {
namespace {

struct ExchangeFields {
    Exchange exchange;
    std::vector<CredentialField> fields;
};

const std::vector<ExchangeFields> allExchanges = {
    {Exchange::binance, {CredentialField::binanceAPIKey, CredentialField::binanceSecretKey}},
    {Exchange::okx,
     {CredentialField::okxAPIKey, CredentialField::okxSecretKey, CredentialField::okxPassphrase}},
    {Exchange::bybit, {CredentialField::bybitAPIKey, CredentialField::bybitSecretKey}},
    {Exchange::bitget,
     {CredentialField::bitgetAPIKey, CredentialField::bitgetSecretKey,
      CredentialField::bitgetPassphrase}},
    {Exchange::gateio, {CredentialField::gateAPIKey, CredentialField::gateSecretKey}},
};

// The credentials a connector was built with, as the field values in reader
// order.
std::vector<QString> credentialsOf(const ExchangeProvider& provider)
{
    if (const auto* p = dynamic_cast<const BinanceProvider*>(&provider)) {
        return {p->credentials().apiKey, p->credentials().secretKey};
    }
    if (const auto* p = dynamic_cast<const OKXProvider*>(&provider)) {
        return {p->credentials().apiKey, p->credentials().secretKey, p->credentials().passphrase};
    }
    if (const auto* p = dynamic_cast<const BybitProvider*>(&provider)) {
        return {p->credentials().apiKey, p->credentials().secretKey};
    }
    if (const auto* p = dynamic_cast<const BitgetProvider*>(&provider)) {
        return {p->credentials().apiKey, p->credentials().secretKey, p->credentials().passphrase};
    }
    if (const auto* p = dynamic_cast<const GateProvider*>(&provider)) {
        return {p->credentials().apiKey, p->credentials().secretKey};
    }
    ADD_FAILURE() << "not one of the five connectors";
    return {};
}

class ConnectorFactoryTest : public ::testing::Test {
protected:
    // Sets every field of the exchange to `value` + its position, e.g. "k0",
    // "k1".
    void fill(LocalCredentialStore& scope, const ExchangeFields& exchange, const QString& value)
    {
        for (std::size_t i = 0; i < exchange.fields.size(); ++i) {
            ASSERT_TRUE(scope.setValue(value + QString::number(i), exchange.fields[i]));
        }
    }

    MemoryDefaultsStore defaults;
    LocalCredentialStore store{defaults};
    FakeHttpTransport transport;
    ManualClock clock;
    ConnectorFactory factory{ExchangeEndpoints::allAt(u"http://127.0.0.1:9"_qs), transport, clock};
};

TEST_F(ConnectorFactoryTest, CompleteCredentialsGiveTheExchangesConnectorAndSendNothing)
{
    for (const ExchangeFields& exchange : allExchanges) {
        SCOPED_TRACE(toStored(exchange.exchange).toStdString());
        fill(store, exchange, u"k"_qs);
        const auto provider = factory.provider(exchange.exchange, store);
        ASSERT_NE(provider, nullptr);
        EXPECT_EQ(provider->exchange(), exchange.exchange);
        std::vector<QString> expected;
        for (std::size_t i = 0; i < exchange.fields.size(); ++i) {
            expected.push_back(u"k"_qs + QString::number(i));
        }
        EXPECT_EQ(credentialsOf(*provider), expected);
        // Two calls give two connectors, not one shared instance.
        EXPECT_NE(factory.provider(exchange.exchange, store), provider);
    }
    EXPECT_EQ(transport.requestCount(), 0);
}

TEST_F(ConnectorFactoryTest, AnyMissingOrEmptyFieldGivesNothing)
{
    for (const ExchangeFields& exchange : allExchanges) {
        for (CredentialField field : exchange.fields) {
            SCOPED_TRACE(rawValue(field).toStdString());
            fill(store, exchange, u"k"_qs);
            ASSERT_TRUE(store.setValue(QString(), field));
            EXPECT_EQ(factory.provider(exchange.exchange, store), nullptr);
            ASSERT_TRUE(store.removeValue(field));
            EXPECT_EQ(factory.provider(exchange.exchange, store), nullptr);
        }
    }
}

TEST_F(ConnectorFactoryTest, BlanksCountAsPresentAndAreNotTrimmed)
{
    for (const ExchangeFields& exchange : allExchanges) {
        SCOPED_TRACE(toStored(exchange.exchange).toStdString());
        std::vector<QString> values;
        for (std::size_t i = 0; i < exchange.fields.size(); ++i) {
            values.push_back(i == 0 ? u" key "_qs : u" "_qs);
            ASSERT_TRUE(store.setValue(values.back(), exchange.fields[i]));
        }
        const auto provider = factory.provider(exchange.exchange, store);
        ASSERT_NE(provider, nullptr);
        EXPECT_EQ(credentialsOf(*provider), values);
    }
}

TEST_F(ConnectorFactoryTest, ReadsTheStoresOwnScopeAtEachCall)
{
    const ExchangeFields& gate = allExchanges.back();
    LocalCredentialStore account = store.forAccount(u"account-1"_qs);
    fill(account, gate, u"extra"_qs);
    EXPECT_EQ(factory.provider(Exchange::gateio, store),
              nullptr);  // the main scope is empty
    const auto provider = factory.provider(Exchange::gateio, account);
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(credentialsOf(*provider), (std::vector<QString>{u"extra0"_qs, u"extra1"_qs}));

    // A changed key is used by the next connector; the one built keeps its own.
    ASSERT_TRUE(account.setValue(u"changed"_qs, CredentialField::gateAPIKey));
    EXPECT_EQ(credentialsOf(*factory.provider(Exchange::gateio, account)).front(), u"changed"_qs);
    EXPECT_EQ(credentialsOf(*provider).front(), u"extra0"_qs);
}

TEST_F(ConnectorFactoryTest, InMemoryValuesReachTheExchange)
{
    const LocalCredentialStore typed(
        CredentialValues{{CredentialField::gateAPIKey, u"typed-key"_qs},
                         {CredentialField::gateSecretKey, u"typed-secret"_qs}},
        defaults);
    ExchangeFixtureServer server(gateFixtureSignature(u"typed-key"_qs, u"typed-secret"_qs));
    server.serveRecorded(u"gate"_qs);
    const ConnectorFactory loopback(server.endpoints(), NetworkHttpTransport::shared(), clock);

    const auto provider = loopback.provider(Exchange::gateio, typed);
    ASSERT_NE(provider, nullptr);
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_TRUE(test::runTask(provider->testConnection()).succeeded());
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().front().header("KEY"), QByteArray("typed-key"));
    EXPECT_EQ(server.rejectedCount(), 0);
    EXPECT_TRUE(defaults.keys().isEmpty());  // nothing typed was stored
}

TEST_F(ConnectorFactoryTest, TheStoreBuildsConnectorsForTheProductionHosts)
{
    for (const ExchangeFields& exchange : allExchanges) {
        EXPECT_EQ(store.provider(exchange.exchange), nullptr);
        fill(store, exchange, u"k"_qs);
    }

    const auto binance =
        std::dynamic_pointer_cast<const BinanceProvider>(store.provider(Exchange::binance));
    ASSERT_NE(binance, nullptr);
    EXPECT_EQ(binance->spotBaseURL(), u"https://api.binance.com"_qs);
    EXPECT_EQ(binance->futuresBaseURL(), u"https://fapi.binance.com"_qs);

    const auto bybit =
        std::dynamic_pointer_cast<const BybitProvider>(store.provider(Exchange::bybit));
    ASSERT_NE(bybit, nullptr);
    EXPECT_EQ(bybit->baseURL(), u"https://api.bybit.com"_qs);
    EXPECT_EQ(bybit->receiveWindow(), u"5000"_qs);

    const auto bitget =
        std::dynamic_pointer_cast<const BitgetProvider>(store.provider(Exchange::bitget));
    ASSERT_NE(bitget, nullptr);
    EXPECT_EQ(bitget->baseURL(), u"https://api.bitget.com"_qs);

    const auto gate =
        std::dynamic_pointer_cast<const GateProvider>(store.provider(Exchange::gateio));
    ASSERT_NE(gate, nullptr);
    EXPECT_EQ(gate->baseURL(), u"https://api.gateio.ws"_qs);
    EXPECT_EQ(gate->prefix(), u"/api/v4"_qs);

    const auto okx = std::dynamic_pointer_cast<const OKXProvider>(store.provider(Exchange::okx));
    ASSERT_NE(okx, nullptr);
    EXPECT_EQ(okx->baseURL(), u"https://www.okx.com"_qs);
}

}  // namespace
}  // namespace vantrell
