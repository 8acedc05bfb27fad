#include "support/StagedStore.h"

#include "settings/ReferenceRates.h"
#include "store/PortfolioPerformance.h"

#include <QCoroTask>
#include <QLocale>
#include <QTimeZone>

namespace vantrell::test {

StagedStore::StagedStore()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    transport.fail("GET", ReferenceRates::dailyUrl().path());
}

StagedStore::~StagedStore()
{
    m_store.reset();
    if (m_writer) {
        m_writer->flush();
    }
}

Decimal StagedStore::amount(std::string_view text)
{
    return Decimal::parse(text).value_or(Decimal(0));
}

void StagedStore::setProvider(Exchange exchange, std::shared_ptr<FakeExchangeProvider> provider)
{
    m_providers[exchange] = std::move(provider);
}

void StagedStore::setEarlierValue(std::string_view total)
{
    const Date now = clock.now();
    const Date midnight =
        PortfolioPerformance::startOfDay(now, QTimeZone(QByteArrayLiteral("UTC")));
    m_history = std::vector<PortfolioValuePoint>{{now.addingSeconds(-24 * 3600), amount(total)},
                                                 {midnight.addingSeconds(60), amount(total)}};
}

PortfolioStore& StagedStore::store()
{
    if (!m_store) {
        m_writer = std::make_unique<PortfolioDiskWriter>();
        PortfolioStore::Services services(defaults, clock, notifier,
                                          SupportFolder(m_folder.path()));
        services.writer = m_writer.get();
        services.timeZone = QTimeZone(QByteArrayLiteral("UTC"));
        ProviderFactory factory =
            [this](const LocalCredentialStore&,
                   Exchange exchange) -> std::shared_ptr<const ExchangeProvider> {
            const auto found = m_providers.find(exchange);
            return found == m_providers.end() ? nullptr : found->second;
        };
        m_store =
            std::make_unique<PortfolioStore>(LocalCredentialStore(defaults), std::move(factory),
                                             std::move(services), false, m_history);
    }
    return *m_store;
}

AppSettings& StagedStore::settings()
{
    if (!m_settings) {
        m_settings = std::make_unique<AppSettings>(defaults, transport, clock);
    }
    return *m_settings;
}

void StagedStore::refresh()
{
    QCoro::waitFor(store().refreshNow(true));
}

}  // namespace vantrell::test
