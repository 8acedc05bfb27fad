#pragma once

#include <QString>
#include <QStringView>

namespace vantrell {

// Where each connector sends its requests. Production code always uses production(); tests
// hand the connectors another value so they talk to a loopback server. A base URL is a scheme
// and a host (and, in tests, a port) with no trailing slash; the connectors append paths to it
// by plain concatenation.
struct ExchangeEndpoints {
    static constexpr QStringView productionBinanceSpot = u"https://api.binance.com";
    static constexpr QStringView productionBinanceFutures = u"https://fapi.binance.com";
    static constexpr QStringView productionOKX = u"https://www.okx.com";
    static constexpr QStringView productionBybit = u"https://api.bybit.com";
    static constexpr QStringView productionBitget = u"https://api.bitget.com";
    static constexpr QStringView productionGate = u"https://api.gateio.ws";
    // Gate puts its API version in front of every path, in the URL and in the signed text.
    static constexpr QStringView gateAPIPrefix = u"/api/v4";

    QString binanceSpot;     // spot, wallet and public price calls
    QString binanceFutures;  // USD-M futures account and positions
    QString okx;
    QString bybit;
    QString bitget;
    QString gate;
    QString gatePrefix = gateAPIPrefix.toString();

    // The exchanges' public REST hosts.
    static ExchangeEndpoints production();
    // Every exchange (both Binance hosts included) at one base URL, e.g. "http://127.0.0.1:4711".
    static ExchangeEndpoints allAt(const QString& baseURL);

    friend bool operator==(const ExchangeEndpoints&, const ExchangeEndpoints&) = default;
};

}  // namespace vantrell
