#include "support/StagedPortfolio.h"

#include "networking/ExchangeAPIError.h"
#include "settings/Preferences.h"
#include "store/PortfolioPerformance.h"

#include <QCoroTask>
#include <QLocale>
#include <QTimeZone>

namespace vantrell::test {

namespace {

Decimal amount(std::string_view text)
{
    return Decimal::parse(text).value_or(Decimal(0));
}

ExchangeProviderSnapshot spotHoldings(Exchange exchange, const Decimal& total)
{
    ExchangeProviderSnapshot snapshot;
    snapshot.account = {exchange, total, std::nullopt, {{AccountType::spot, total}}};
    snapshot.balances = {{std::nullopt, std::nullopt, exchange, AccountType::spot,
                          QStringLiteral("USDT"), total, total}};
    return snapshot;
}

}  // namespace

StagedPortfolio::StagedPortfolio()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    transport.fail("GET", ReferenceRates::dailyUrl().path());
}

StagedPortfolio::~StagedPortfolio()
{
    m_store.reset();
    if (m_writer) {
        m_writer->flush();
    }
}

void StagedPortfolio::stage(Exchange exchange, std::string_view total)
{
    auto provider = std::make_shared<FakeExchangeProvider>(exchange);
    provider->setSnapshot(spotHoldings(exchange, amount(total)));
    m_providers[exchange] = std::move(provider);
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
    m_providers[exchange] = std::move(provider);
}

void StagedPortfolio::setEarlierValue(std::string_view total)
{
    const Date now = clock.now();
    const Date midnight =
        PortfolioPerformance::startOfDay(now, QTimeZone(QByteArrayLiteral("UTC")));
    m_history = std::vector<PortfolioValuePoint>{{now.addingSeconds(-24 * 3600), amount(total)},
                                                 {midnight.addingSeconds(60), amount(total)}};
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

ProviderFactory StagedPortfolio::factory()
{
    return [this](const LocalCredentialStore&,
                  Exchange exchange) -> std::shared_ptr<const ExchangeProvider> {
        const auto found = m_providers.find(exchange);
        return found == m_providers.end() ? nullptr : found->second;
    };
}

PortfolioStore& StagedPortfolio::store()
{
    if (!m_store) {
        m_writer = std::make_unique<PortfolioDiskWriter>();
        PortfolioStore::Services services(defaults, clock, notifier,
                                          SupportFolder(m_folder.path()));
        services.writer = m_writer.get();
        services.timeZone = QTimeZone(QByteArrayLiteral("UTC"));
        m_store = std::make_unique<PortfolioStore>(LocalCredentialStore(defaults), factory(),
                                                   std::move(services), false, m_history);
    }
    return *m_store;
}

AppSettings& StagedPortfolio::settings()
{
    if (!m_settings) {
        m_settings = std::make_unique<AppSettings>(defaults, transport, clock);
    }
    return *m_settings;
}

void StagedPortfolio::refresh()
{
    QCoro::waitFor(store().refreshNow(true));
}

void StagedPortfolio::makeStale()
{
    clock.advance(3600);
}

}  // namespace vantrell::test
