#pragma once

#include <QString>

#include <optional>

namespace vantrell {

// The outcome of testing one exchange's credentials: success, or the text to show.
struct ConnectionTestResult {
    std::optional<QString> failureMessage;  // absent on success

    static ConnectionTestResult success() { return {}; }
    static ConnectionTestResult failure(QString message) { return {std::move(message)}; }

    bool succeeded() const { return !failureMessage.has_value(); }

    friend bool operator==(const ConnectionTestResult&, const ConnectionTestResult&) = default;
};

}  // namespace vantrell
