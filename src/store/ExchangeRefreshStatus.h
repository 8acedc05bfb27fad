#pragma once

#include "models/Date.h"
#include "models/Exchange.h"

#include <QString>

#include <map>
#include <optional>

namespace vantrell {

// Where one exchange stands in the refresh cycle, with the text shown to the user about it.
struct ExchangeRefreshStatus {
    struct State {
        enum class Kind { unconfigured, connecting, connected, failed };

        Kind kind = Kind::unconfigured;
        QString message;  // the failure text; only `failed` carries one

        static State unconfigured() { return {Kind::unconfigured, {}}; }
        static State connecting() { return {Kind::connecting, {}}; }
        static State connected() { return {Kind::connected, {}}; }
        static State failed(QString message) { return {Kind::failed, std::move(message)}; }

        friend bool operator==(const State&, const State&) = default;
    };

    State state;
    // The last merged result that was not built from cached accounts.
    std::optional<Date> lastSuccess;
    // Warnings of the last result or the failure text; empty when there is nothing to say.
    QString detail;

    friend bool operator==(const ExchangeRefreshStatus&, const ExchangeRefreshStatus&) = default;
};

// The statuses of the exchanges that have one; an exchange without an entry has the default
// status (unconfigured, never succeeded, no detail).
using ExchangeStatusMap = std::map<Exchange, ExchangeRefreshStatus>;

}  // namespace vantrell
