#include "services/ReferralLinkStore.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace vantrell {

ReferralLinkStore::ReferralLinkStore(DefaultsStore& defaults, HttpTransport& transport,
                                     QUrl endpoint, QObject* parent)
    : QObject(parent),
      m_defaults(defaults),
      m_transport(transport),
      m_endpoint(std::move(endpoint)),
      m_refreshTimer(new QTimer(this))
{
    loadCache();
    m_refreshTimer->setObjectName(QStringLiteral("referralRefreshTimer"));
    m_refreshTimer->setTimerType(Qt::PreciseTimer);
    connect(m_refreshTimer, &QTimer::timeout, this, [this] { refresh(); });
    m_refreshTimer->start(refreshPeriod);
    // Dropped if the store is destroyed before the event loop runs it.
    QMetaObject::invokeMethod(
        this, [this] { refresh(); }, Qt::QueuedConnection);
}

std::optional<ReferralLink> ReferralLinkStore::linkFor(Exchange exchange) const
{
    const QString id = caseName(exchange);
    const auto found = std::find_if(m_links.begin(), m_links.end(), [&](const ReferralLink& link) {
        return link.id == id && link.url().has_value();
    });
    if (found == m_links.end()) {
        return std::nullopt;
    }
    return *found;
}

QCoro::Task<void> ReferralLinkStore::refresh()
{
    if (m_endpoint.isEmpty()) {
        co_return;
    }
    QPointer<ReferralLinkStore> self(this);
    HttpResponse response;
    try {
        response = co_await m_transport.perform(request(m_endpoint));
    } catch (const std::exception&) {
        co_return;
    }
    const std::optional<ReferralConfiguration> document = acceptedDocument(response);
    if (self && document) {
        self->accept(response.body, *document);
    }
}

HttpRequest ReferralLinkStore::request(const QUrl& endpoint)
{
    HttpRequest request;
    request.url = endpoint;
    request.headers.append(HttpRequest::Header("Accept", "application/json"));
    request.timeout = fetchTimeout;
    request.maxBodyBytes = ReferralConfiguration::maxBodySize;
    return request;
}

std::optional<ReferralConfiguration> ReferralLinkStore::acceptedDocument(
    const HttpResponse& response)
{
    if (!response.statusCode || *response.statusCode < 200 || *response.statusCode > 299) {
        return std::nullopt;
    }
    std::optional<ReferralConfiguration> document = ReferralConfiguration::decode(response.body);
    if (!document || document->schemaVersion != 1) {
        return std::nullopt;
    }
    return document;
}

std::vector<ReferralLink> ReferralLinkStore::usableLinks(const ReferralConfiguration& configuration)
{
    std::vector<ReferralLink> links;
    std::copy_if(configuration.exchanges.begin(), configuration.exchanges.end(),
                 std::back_inserter(links),
                 [](const ReferralLink& link) { return link.url().has_value(); });
    std::stable_sort(links.begin(), links.end(), [](const ReferralLink& a, const ReferralLink& b) {
        if (a.sort != b.sort) {
            return a.sort < b.sort;
        }
        return a.id < b.id;
    });
    return links;
}

void ReferralLinkStore::loadCache()
{
    const QVariant cached = m_defaults.value(cacheKey);
    if (cached.typeId() != QMetaType::QByteArray) {
        return;
    }
    // The cache was checked when it was stored; its schema version is not looked at again.
    if (const auto document = ReferralConfiguration::decode(cached.toByteArray())) {
        apply(*document);
    }
}

void ReferralLinkStore::accept(const QByteArray& body, const ReferralConfiguration& configuration)
{
    m_defaults.setValue(cacheKey, body);
    apply(configuration);
}

void ReferralLinkStore::apply(const ReferralConfiguration& configuration)
{
    m_links = usableLinks(configuration);
    Q_EMIT linksChanged();
}

}  // namespace vantrell
