#include "ConnectorTarget.h"

#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "ReplyScript.h"
#include "ScriptedTransport.h"
#include "TaskOutcome.h"

#include "networking/ExchangeAPIError.h"
#include "networking/ExchangeHTTPClient.h"
#include "networking/PublicMarketCache.h"
#include "providers/BinanceProvider.h"
#include "providers/BitgetProvider.h"
#include "providers/BybitProvider.h"
#include "providers/ExchangeEndpoints.h"
#include "providers/GateProvider.h"
#include "providers/OKXProvider.h"

#include <QString>

#include <exception>
#include <memory>

namespace vantrell::fuzz {

namespace {

const ExchangeEndpoints& endpoints()
{
    static const ExchangeEndpoints all =
        ExchangeEndpoints::allAt(QStringLiteral("https://exchange.invalid"));
    return all;
}

std::unique_ptr<const ExchangeProvider> makeProvider(Connector connector,
                                                     const ExchangeHTTPClient& client)
{
    const QString key = QStringLiteral("fuzz-key");
    const QString secret = QStringLiteral("fuzz-secret");
    const QString passphrase = QStringLiteral("fuzz-passphrase");
    switch (connector) {
        case Connector::binance:
            return std::make_unique<BinanceProvider>(BinanceCredentials{key, secret}, client,
                                                     endpoints());
        case Connector::okx:
            return std::make_unique<OKXProvider>(OKXCredentials{key, secret, passphrase}, client,
                                                 endpoints());
        case Connector::bybit:
            return std::make_unique<BybitProvider>(BybitCredentials{key, secret}, client,
                                                   endpoints());
        case Connector::bitget:
            return std::make_unique<BitgetProvider>(BitgetCredentials{key, secret, passphrase},
                                                    client, endpoints());
        case Connector::gate:
            return std::make_unique<GateProvider>(GateCredentials{key, secret}, client,
                                                  endpoints());
    }
    fail("unknown connector");
}

// Whether the call succeeded; an exception of any other type than ExchangeAPIError is a fault.
bool succeeded(const std::exception_ptr& failure, std::string_view call)
{
    if (!failure) {
        return true;
    }
    try {
        std::rethrow_exception(failure);
    } catch (const ExchangeAPIError&) {
        return false;
    } catch (const std::exception& error) {
        fail(call, error.what());
    } catch (...) {
        fail(call, "an exception of unknown type escaped");
    }
}

}  // namespace

ConnectorRun runConnector(Connector connector, const std::uint8_t* data, std::size_t size)
{
    const ReplyScript script = ReplyScript::parse(data, size);
    ConnectorRun run;
    run.scriptedReplies = script.replies.size();
    // Each input starts from an empty cache: a price list kept from the previous input would
    // make the outcome depend on the order of inputs.
    PublicMarketCache::shared().clear();
    {
        ScriptedTransport transport(script);
        const auto provider = makeProvider(connector, ExchangeHTTPClient(transport));
        run.snapshotSucceeded = succeeded(failureOf(provider->fetchSnapshot()),
                                          "fetchSnapshot threw something else than "
                                          "ExchangeAPIError");
        run.snapshotRequests = transport.requestCount();
    }
    PublicMarketCache::shared().clear();
    {
        ScriptedTransport transport(script);
        const auto provider = makeProvider(connector, ExchangeHTTPClient(transport));
        run.connectionSucceeded = succeeded(failureOf(provider->testConnection()),
                                            "testConnection threw something else than "
                                            "ExchangeAPIError");
    }
    PublicMarketCache::shared().clear();
    return run;
}

void fuzzBinanceSnapshot(const std::uint8_t* data, std::size_t size)
{
    runConnector(Connector::binance, data, size);
}

void fuzzOKXSnapshot(const std::uint8_t* data, std::size_t size)
{
    runConnector(Connector::okx, data, size);
}

void fuzzBybitSnapshot(const std::uint8_t* data, std::size_t size)
{
    runConnector(Connector::bybit, data, size);
}

void fuzzBitgetSnapshot(const std::uint8_t* data, std::size_t size)
{
    runConnector(Connector::bitget, data, size);
}

void fuzzGateSnapshot(const std::uint8_t* data, std::size_t size)
{
    runConnector(Connector::gate, data, size);
}

}  // namespace vantrell::fuzz
