#include "settings/DisplayCurrency.h"

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
    return findStored<DisplayCurrency>(allDisplayCurrencies, text);
}

}  // namespace vantrell
