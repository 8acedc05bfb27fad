#include "providers/ExchangeEndpoints.h"

namespace vantrell {

ExchangeEndpoints ExchangeEndpoints::production()
{
    ExchangeEndpoints endpoints;
    endpoints.binanceSpot = productionBinanceSpot.toString();
    endpoints.binanceFutures = productionBinanceFutures.toString();
    endpoints.okx = productionOKX.toString();
    endpoints.bybit = productionBybit.toString();
    endpoints.bitget = productionBitget.toString();
    endpoints.gate = productionGate.toString();
    return endpoints;
}

ExchangeEndpoints ExchangeEndpoints::allAt(const QString& baseURL)
{
    ExchangeEndpoints endpoints;
    endpoints.binanceSpot = baseURL;
    endpoints.binanceFutures = baseURL;
    endpoints.okx = baseURL;
    endpoints.bybit = baseURL;
    endpoints.bitget = baseURL;
    endpoints.gate = baseURL;
    return endpoints;
}

}  // namespace vantrell
