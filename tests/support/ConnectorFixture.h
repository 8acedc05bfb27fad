#pragma once

#include "models/Date.h"
#include "models/ExchangeProviderSnapshot.h"
#include "networking/ExchangeAPIError.h"
#include "networking/ExchangeHTTPClient.h"
#include "networking/NetworkHttpTransport.h"
#include "providers/ExchangeEndpoints.h"
#include "support/ExchangeAPIErrorPrinter.h"
#include "support/ExchangeFixtureServer.h"
#include "support/FixtureSignatures.h"
#include "support/ManualClock.h"
#include "support/TaskResult.h"

#include <QString>

#include <gtest/gtest.h>

#include <exception>
#include <type_traits>
#include <utility>

namespace vantrell::test {

// The set-up every connector test shares: a `Provider` built from settable credentials and a
// standing clock, talking over the real network stack to a fixture server that serves the
// exchange's recorded replies and checks its signatures.
//
//     class OKXProviderTest : public test::ConnectorFixture<OKXProvider> {
//     protected:
//         OKXProviderTest() : ConnectorFixture(u"okx"_qs, accepted, okxFixtureSignature(...)) {}
//     };
//
// The server keeps the signature rule it was given; a test that changes `credentials` afterwards
// sends what the exchange would refuse.
template <typename Provider>
class ConnectorFixture : public ::testing::Test {
protected:
    using Credentials = std::decay_t<decltype(std::declval<const Provider&>().credentials())>;

    ConnectorFixture(QString exchangeFolder, Credentials accepted, SignatureCheck signatureCheck)
        : credentials(std::move(accepted)),
          server(std::move(signatureCheck)),
          m_exchangeFolder(std::move(exchangeFolder))
    {
    }

    void SetUp() override { serveRecorded(); }

    // Back to the recorded replies on every route, with no public reply cached by an earlier
    // case.
    void serveRecorded() { server.serveRecorded(m_exchangeFolder); }

    Provider provider() const { return provider(server.endpoints()); }
    Provider provider(const ExchangeEndpoints& endpoints) const
    {
        return Provider(credentials, client, endpoints, clock);
    }

    TaskResult<ExchangeProviderSnapshot> fetch() const
    {
        const Provider connector = provider();
        return runTask(connector.fetchSnapshot());
    }
    TaskResult<void> testConnection() const
    {
        const Provider connector = provider();
        return runTask(connector.testConnection());
    }

    // The snapshot of a fetch that has to succeed.
    ExchangeProviderSnapshot snapshot() const
    {
        TaskResult<ExchangeProviderSnapshot> result = fetch();
        if (!result.succeeded()) {
            ADD_FAILURE() << "the fetch failed";
            return {};
        }
        return std::move(*result.value);
    }
    // The error of a fetch or connection test that has to fail with an ExchangeAPIError.
    ExchangeAPIError fetchError() const { return errorOf(fetch().error); }
    ExchangeAPIError connectionTestError() const { return errorOf(testConnection().error); }

    ManualClock clock{Date::fromUnixSeconds(1700000000)};
    Credentials credentials;
    ExchangeFixtureServer server;
    ExchangeHTTPClient client{NetworkHttpTransport::shared()};

private:
    static ExchangeAPIError errorOf(const std::exception_ptr& error)
    {
        const auto apiError = TaskResult<void>{error}.errorAs<ExchangeAPIError>();
        if (!apiError) {
            ADD_FAILURE() << "the call did not fail with an ExchangeAPIError";
            return ExchangeAPIError::invalidResponse();
        }
        return *apiError;
    }

    QString m_exchangeFolder;
};

}  // namespace vantrell::test
