#include "support/StagedPortfolio.h"

#include "networking/ExchangeAPIError.h"
#include "settings/Preferences.h"

namespace vantrell::test {

namespace {

ExchangeProviderSnapshot spotHoldings(Exchange exchange, const Decimal& total)
{
    ExchangeProviderSnapshot snapshot;
    snapshot.account = {exchange, total, std::nullopt, {{AccountType::spot, total}}};
    snapshot.balances = {{std::nullopt, std::nullopt, exchange, AccountType::spot,
                          QStringLiteral("USDT"), total, total}};
    return snapshot;
}

}  // namespace

void StagedPortfolio::stage(Exchange exchange, std::string_view total)
{
    auto provider = std::make_shared<FakeExchangeProvider>(exchange);
    provider->setSnapshot(spotHoldings(exchange, amount(total)));
    setProvider(exchange, std::move(provider));
}

void StagedPortfolio::stageAllExchanges()
{
    stage(Exchange::binance, "12500.40");
    stage(Exchange::okx, "8320.15");
    stage(Exchange::bybit, "4210.00");
    stage(Exchange::bitget, "2675.50");
    stage(Exchange::gateio, "1190.25");
}

void StagedPortfolio::stageFailure(Exchange exchange, const QString& message)
{
    auto provider = std::make_shared<FakeExchangeProvider>(exchange);
    provider->setFetchError(std::make_exception_ptr(
        message.isEmpty() ? ExchangeAPIError::network() : ExchangeAPIError::api(message)));
    setProvider(exchange, std::move(provider));
}

void StagedPortfolio::setRates(const CurrencyRates& rates)
{
    writePreference(defaults, preferences::currencyRates, rates);
}

CurrencyRates StagedPortfolio::sampleRates()
{
    return {{QStringLiteral("EUR"), amount("1")},
            {QStringLiteral("USD"), amount("1.08")},
            {QStringLiteral("CNY"), amount("7.8")},
            {QStringLiteral("HKD"), amount("8.45")}};
}

void StagedPortfolio::makeStale()
{
    clock.advance(3600);
}

}  // namespace vantrell::test
