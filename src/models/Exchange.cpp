#include "models/Exchange.h"

namespace vantrell {

QString toStored(Exchange exchange)
{
    switch (exchange) {
        case Exchange::binance:
            return QStringLiteral("Binance");
        case Exchange::okx:
            return QStringLiteral("OKX");
        case Exchange::bybit:
            return QStringLiteral("Bybit");
        case Exchange::bitget:
            return QStringLiteral("Bitget");
        case Exchange::gateio:
            return QStringLiteral("Gate.io");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<Exchange> fromStored<Exchange>(QStringView text)
{
    return findStored<Exchange>(allExchanges, text);
}

QString caseName(Exchange exchange)
{
    switch (exchange) {
        case Exchange::binance:
            return QStringLiteral("binance");
        case Exchange::okx:
            return QStringLiteral("okx");
        case Exchange::bybit:
            return QStringLiteral("bybit");
        case Exchange::bitget:
            return QStringLiteral("bitget");
        case Exchange::gateio:
            return QStringLiteral("gateio");
    }
    Q_UNREACHABLE();
    return {};
}

}  // namespace vantrell
