#include "providers/common/OptionalCall.h"

#include "models/JsonError.h"

#include <QStringView>

#include <array>

namespace vantrell {

bool OptionalCall::isUnavailableAccountScope(const ExchangeAPIError& error)
{
    if (error.kind() != ExchangeAPIError::Kind::httpStatus) {
        return false;
    }
    const int status = error.statusCode();
    if (status != 400 && status != 401 && status != 403) {
        return false;
    }
    static constexpr std::array<QStringView, 5> phrases = {
        u"permission", u"not enabled", u"not activated", u"account does not exist",
        u"invalid api-key"};
    const QString message = error.message().toLower();
    for (const QStringView phrase : phrases) {
        if (message.contains(phrase)) {
            return true;
        }
    }
    return false;
}

bool OptionalCall::tolerates(OptionalCallRule rule, const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const ExchangeAPIError& error) {
        if (rule == OptionalCallRule::unavailableAccountScopeOnly) {
            return isUnavailableAccountScope(error);
        }
        return error.kind() != ExchangeAPIError::Kind::rateLimited;
    } catch (const JsonDecodeError&) {
        // A cached public body that no longer decodes: an undecodable reply like any other.
        return rule == OptionalCallRule::allButRateLimit;
    } catch (...) {
        // Not a failure of the request (a programming error, memory exhaustion): never hidden.
        return false;
    }
}

}  // namespace vantrell
