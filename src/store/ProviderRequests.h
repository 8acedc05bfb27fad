#pragma once

#include "providers/ExchangeProvider.h"
#include "store/ConnectionTestResult.h"
#include "store/ProviderRefreshResult.h"

#include <QCoroTask>
#include <QString>

#include <exception>
#include <memory>
#include <optional>

namespace vantrell {

// The store's calls of a provider, turned into values: a fetch or a credential test never throws
// past these functions, so one failing exchange cannot end a refresh cycle. Both hold the
// provider themselves and touch nothing else, so they may outlive their caller.
class ProviderRequests {
public:
    // The provider's snapshot, or its failure with the user's text and the server's retry hint.
    static QCoro::Task<ProviderRefreshResult> fetch(
        std::shared_ptr<const ExchangeProvider> provider);
    // Success, or the failure with the user's text.
    static QCoro::Task<ConnectionTestResult> test(std::shared_ptr<const ExchangeProvider> provider);

    // The user-facing text of a failed fetch or test: an exchange error's own text, otherwise
    // "请求失败，请检查网络和只读权限" (other exceptions carry no text meant for the user).
    static QString safeMessage(const std::exception_ptr& error);
    // The seconds to wait that a rate-limit error carries; nothing for every other error.
    static std::optional<double> retryAfter(const std::exception_ptr& error);
};

}  // namespace vantrell
