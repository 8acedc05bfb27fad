#include "store/DisplayCurrency.h"

namespace vantrell {

QString toStored(DisplayCurrency currency)
{
    switch (currency) {
        case DisplayCurrency::usd:
            return QStringLiteral("USD");
        case DisplayCurrency::usdt:
            return QStringLiteral("USDT");
        case DisplayCurrency::cny:
            return QStringLiteral("CNY");
        case DisplayCurrency::eur:
            return QStringLiteral("EUR");
        case DisplayCurrency::hkd:
            return QStringLiteral("HKD");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<DisplayCurrency> fromStored<DisplayCurrency>(QStringView text)
{
    for (DisplayCurrency currency : allDisplayCurrencies) {
        if (toStored(currency) == text) {
            return currency;
        }
    }
    return std::nullopt;
}

}  // namespace vantrell
