#pragma once

#include "networking/ExchangeAPIError.h"

#include <QCoroTask>

#include <exception>
#include <optional>
#include <utility>

namespace vantrell {

// Which failures of an optional call leave its part out of the snapshot instead of ending the
// fetch. The two rules are each other's reverse.
enum class OptionalCallRule {
    // OKX, Bybit, Bitget, Gate: every failure of the request (HTTP status, undecodable reply,
    // transfer failure, unformable URL, a failed envelope checked inside the call) yields
    // nothing, except a rate limit, which is thrown on unchanged with its seconds.
    allButRateLimit,
    // Binance: only a refusal saying that the key cannot read that account yields nothing (see
    // isUnavailableAccountScope); everything else, a rate limit included, is thrown on.
    unavailableAccountScopeOnly,
};

// Runs an optional call of a snapshot under its exchange's rule.
//
// Wrap the call before handing it to the fan-out, and await it there like a required call:
// a failure the rule does not tolerate must end the fetch (and abort the other requests).
//
//     auto funding = fan.start(OptionalCall::run(OptionalCallRule::allButRateLimit,
//                                                signedGET<std::optional<Funding>>(...)));
//     std::optional<Funding> reply = co_await fan.await(funding);
class OptionalCall {
public:
    // Binance's test: an `httpStatus` of 400, 401 or 403 whose message, lower-cased, contains
    // "permission", "not enabled", "not activated", "account does not exist" or
    // "invalid api-key".
    static bool isUnavailableAccountScope(const ExchangeAPIError& error);

    // Whether `failure` of an optional call yields nothing under `rule`.
    static bool tolerates(OptionalCallRule rule, const std::exception_ptr& failure);

    template <typename T>
    struct Reply {
        using type = std::optional<T>;
    };
    template <typename T>
    struct Reply<std::optional<T>> {
        using type = std::optional<T>;
    };

    // The call's reply, or nothing for a tolerated failure; other failures are rethrown. A
    // call decoding an optional reply (a JSON null body) passes its nothing through.
    template <typename T>
    static QCoro::Task<typename Reply<T>::type> run(OptionalCallRule rule, QCoro::Task<T> call)
    {
        std::exception_ptr failure;
        try {
            T reply = co_await std::move(call);
            co_return std::move(reply);
        } catch (...) {
            failure = std::current_exception();
        }
        if (!tolerates(rule, failure)) {
            std::rethrow_exception(failure);
        }
        co_return std::nullopt;
    }
};

}  // namespace vantrell
