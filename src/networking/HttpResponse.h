#pragma once

#include <QByteArray>
#include <QList>

#include <optional>
#include <utility>

namespace vantrell {

// What came back for a request. `statusCode` is absent when the reply was not an HTTP reply.
struct HttpResponse {
    using Header = std::pair<QByteArray, QByteArray>;

    std::optional<int> statusCode;
    QList<Header> headers;
    QByteArray body;

    // The first header of that name, compared without regard to case.
    std::optional<QByteArray> header(const QByteArray& name) const
    {
        for (const Header& h : headers) {
            if (h.first.compare(name, Qt::CaseInsensitive) == 0) {
                return h.second;
            }
        }
        return std::nullopt;
    }
};

}  // namespace vantrell
