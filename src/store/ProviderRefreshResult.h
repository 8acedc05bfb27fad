#pragma once

#include "models/Exchange.h"
#include "models/ExchangeProviderSnapshot.h"

#include <QString>

#include <optional>
#include <variant>

namespace vantrell {

// What one exchange's fetch in a refresh cycle came to: the provider's snapshot (possibly
// incomplete), or the failure with its user-facing text and the server's retry hint.
struct ProviderRefreshResult {
    struct Success {
        Exchange exchange;
        ExchangeProviderSnapshot snapshot;
    };
    struct Failure {
        Exchange exchange;
        QString message;
        std::optional<double> retryAfter;  // seconds, from a rate-limit error only
    };

    std::variant<Success, Failure> outcome;

    static ProviderRefreshResult success(Exchange exchange, ExchangeProviderSnapshot snapshot)
    {
        return {Success{exchange, std::move(snapshot)}};
    }
    static ProviderRefreshResult failure(Exchange exchange, QString message,
                                         std::optional<double> retryAfter = std::nullopt)
    {
        return {Failure{exchange, std::move(message), retryAfter}};
    }

    Exchange exchange() const
    {
        return std::visit([](const auto& value) { return value.exchange; }, outcome);
    }
};

}  // namespace vantrell
