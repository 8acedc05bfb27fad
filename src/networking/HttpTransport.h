#pragma once

#include "networking/HttpRequest.h"
#include "networking/HttpResponse.h"

#include <QCoroTask>

#include <optional>
#include <stdexcept>

namespace vantrell {

// The transfer itself failed: no connection, time-out, cancellation, TLS failure, a body cut
// short. The cause is not kept; every such failure means the same to the caller.
class HttpTransportError : public std::runtime_error {
public:
    HttpTransportError() : std::runtime_error("transfer failed") {}
};

// The body passed the request's maxBodyBytes and was given up. Any caller that does not look
// closer takes it for a failed transfer; `statusCode` is the reply's, when one had come.
class HttpBodyTooLargeError : public HttpTransportError {
public:
    explicit HttpBodyTooLargeError(std::optional<int> statusCode) : statusCode(statusCode) {}

    std::optional<int> statusCode;
};

// Performs HTTP requests. Any HTTP status, 4xx and 5xx included, is a response; only a failed
// transfer throws HttpTransportError.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual QCoro::Task<HttpResponse> perform(HttpRequest request) = 0;
};

}  // namespace vantrell
