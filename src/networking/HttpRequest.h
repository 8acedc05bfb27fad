#pragma once

#include "concurrency/CancellationToken.h"
#include "networking/ContentDecoding.h"

#include <QByteArray>
#include <QList>
#include <QUrl>

#include <algorithm>
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
    std::chrono::milliseconds timeout{12000};  // the longest silence
    // The longest the whole transfer may take, however steadily its bytes come: a reply trickled
    // a byte at a time must end too. Unset means five times the time-out.
    std::optional<std::chrono::milliseconds> deadline;
    // A reply whose body passes this many bytes as they come in (packed or not) is given up
    // rather than held whole; no limit when zero.
    qsizetype maxBodyBytes = ContentDecoding::largestDecodedBody;
    std::shared_ptr<CancellationToken> cancellation;  // optional

    QByteArray effectiveMethod() const { return method.value_or(QByteArrayLiteral("GET")); }
    std::chrono::milliseconds effectiveDeadline() const
    {
        constexpr std::chrono::milliseconds longest = std::chrono::milliseconds::max() / 5;
        return deadline.value_or(std::min(timeout, longest) * 5);
    }
};

}  // namespace vantrell
