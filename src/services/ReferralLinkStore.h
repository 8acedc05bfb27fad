#pragma once

#include "models/Exchange.h"
#include "networking/HttpTransport.h"
#include "platform/DefaultsStore.h"
#include "services/ReferralConfiguration.h"
#include "services/ReferralLink.h"

#include <QCoroTask>
#include <QObject>
#include <QUrl>

#include <chrono>
#include <optional>
#include <vector>

class QTimer;

namespace vantrell {

// The exchanges' referral links from the remote configuration document: published from the
// cached copy at once, fetched at start, every 6 hours and whenever the exchange-management
// page asks. Every failure is silent and changes nothing. Main thread only.
class ReferralLinkStore : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds refreshPeriod{21600};
    static constexpr std::chrono::milliseconds fetchTimeout{15000};
    // The raw bytes of the last document accepted from the network.
    static inline const QString cacheKey = QStringLiteral("referralLinks.cache.v1");

    // Applies the cached document, starts the periodic refresh and schedules one refresh on the
    // event loop. An empty endpoint (none configured) fetches nothing. The defaults store and
    // the transport must outlive this object.
    ReferralLinkStore(DefaultsStore& defaults, HttpTransport& transport, QUrl endpoint,
                      QObject* parent = nullptr);

    // Enabled links with a usable address, by `sort`, then `id`, then document order.
    const std::vector<ReferralLink>& links() const { return m_links; }

    // The first published link of the exchange whose address is usable.
    std::optional<ReferralLink> linkFor(Exchange exchange) const;

    // Fetches, checks, caches and applies the document. Never throws. Refreshes are not
    // de-duplicated: the last one to complete wins.
    QCoro::Task<void> refresh();

    // The request for the document.
    static HttpRequest request(const QUrl& endpoint);

    // The document of a reply, or nothing unless the reply is 2xx with a decodable document of
    // schema version 1.
    static std::optional<ReferralConfiguration> acceptedDocument(const HttpResponse& response);

    // The links of a document as they are published.
    static std::vector<ReferralLink> usableLinks(const ReferralConfiguration& configuration);

Q_SIGNALS:
    // After every application of a document, even one that changes nothing.
    void linksChanged();

private:
    void loadCache();
    void accept(const QByteArray& body, const ReferralConfiguration& configuration);
    void apply(const ReferralConfiguration& configuration);

    DefaultsStore& m_defaults;
    HttpTransport& m_transport;
    QUrl m_endpoint;
    std::vector<ReferralLink> m_links;
    QTimer* m_refreshTimer;
};

}  // namespace vantrell
