#include "providers/common/ValuationLadder.h"

namespace vantrell {

namespace {

constexpr QStringView usdt = u"USDT";
constexpr QStringView btc = u"BTC";

}  // namespace

ValuationLadder::ValuationLadder(QStringList stablecoins, bool upperCasesAsset, QString separator)
    : m_stablecoins(std::move(stablecoins)),
      m_upperCasesAsset(upperCasesAsset),
      m_separator(std::move(separator)),
      m_bridgePair(btc % m_separator % usdt)
{
}

const ValuationLadder& ValuationLadder::of(Exchange exchange)
{
    static const QStringList common = {QStringLiteral("USD"), QStringLiteral("USDT"),
                                       QStringLiteral("USDC"), QStringLiteral("DAI")};
    static const ValuationLadder binance(
        {QStringLiteral("USD"), QStringLiteral("USDT"), QStringLiteral("USDC"),
         QStringLiteral("FDUSD"), QStringLiteral("TUSD")},
        false, QString());
    static const ValuationLadder okx(common, false, QStringLiteral("-"));
    static const ValuationLadder bybit(common, false, QString());
    static const ValuationLadder bitget(common, true, QString());
    static const ValuationLadder gate(common, false, QStringLiteral("_"));
    switch (exchange) {
        case Exchange::binance:
            return binance;
        case Exchange::okx:
            return okx;
        case Exchange::bybit:
            return bybit;
        case Exchange::bitget:
            return bitget;
        case Exchange::gateio:
            return gate;
    }
    return binance;
}

QString ValuationLadder::usdtPair(const QString& asset) const
{
    return (m_upperCasesAsset ? asset.toUpper() : asset) % m_separator % usdt;
}

QString ValuationLadder::btcPair(const QString& asset) const
{
    return (m_upperCasesAsset ? asset.toUpper() : asset) % m_separator % btc;
}

Decimal ValuationLadder::usdValue(const QString& asset, const Decimal& quantity,
                                  const PriceMap& prices) const
{
    const QString code = m_upperCasesAsset ? asset.toUpper() : asset;
    if (m_stablecoins.contains(code)) {
        return quantity;
    }
    if (const Decimal* price = prices.find(code % m_separator % usdt)) {
        return quantity * *price;
    }
    const Decimal* btcPrice = prices.find(code % m_separator % btc);
    const Decimal* bridge = prices.find(m_bridgePair);
    if (btcPrice != nullptr && bridge != nullptr) {
        return quantity * *btcPrice * *bridge;
    }
    return Decimal();
}

}  // namespace vantrell
