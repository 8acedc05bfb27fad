#pragma once

#include "concurrency/CancellationToken.h"

#include <QByteArray>
#include <QList>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>
#include <utility>

namespace vantrell {

// A request as a connector builds it, complete: the transport changes nothing in it.
struct HttpRequest {
    using Header = std::pair<QByteArray, QByteArray>;

    QUrl url;
    std::optional<QByteArray> method;  // unset means GET
    QList<Header> headers;             // sent in this order
    QByteArray body;
    std::chrono::milliseconds timeout{12000};
    std::shared_ptr<CancellationToken> cancellation;  // optional

    QByteArray effectiveMethod() const { return method.value_or(QByteArrayLiteral("GET")); }
};

}  // namespace vantrell
