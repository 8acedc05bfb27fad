#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "networking/ExchangeHTTPClient.h"

#include <cmath>

namespace vantrell::fuzz {

namespace {

void checkDelay(double seconds)
{
    check(!std::isnan(seconds) && seconds >= 1 && seconds <= 3600,
          "a Retry-After delay outside 1 to 3600 seconds");
}

}  // namespace

void fuzzHttpErrors(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkDelay(ExchangeHTTPClient::retryAfterSeconds(bytes));
    check(!ExchangeHTTPClient::publicErrorMessage(bytes).isNull(), "no error message");

    // The same bytes as the body of each kind of failed reply, and as its Retry-After header.
    for (const int status : {0, 200, 302, 400, 418, 429, 500}) {
        HttpResponse response{status, {{"Retry-After", bytes}}, bytes};
        if (status == 0) {
            response.statusCode.reset();
        }
        const std::optional<ExchangeAPIError> error =
            ExchangeHTTPClient::errorForResponse(response);
        check(error.has_value() == (status != 200), "a reply misjudged as success or failure");
        if (error && error->kind() == ExchangeAPIError::Kind::rateLimited) {
            checkDelay(error->retryAfterSeconds());
        }
        if (error) {
            check(!error->errorDescription().isEmpty(), "an error without a description");
        }
    }
}

}  // namespace vantrell::fuzz
