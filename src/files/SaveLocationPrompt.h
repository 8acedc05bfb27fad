#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace vantrell {

// Asks the user where to save an export. The core has no widgets: the user interface implements
// this with a file dialog, tests with a fake that answers at once.
class SaveLocationPrompt {
public:
    using Answer = std::function<void(std::optional<QString> path)>;

    virtual ~SaveLocationPrompt() = default;

    // Offers only comma-separated text files (".csv") and proposes `defaultFileName`. Calls
    // `answer` exactly once on the main thread, with the chosen path or nothing when the user
    // cancelled; it may do so before returning.
    virtual void chooseSaveLocation(const QString& defaultFileName, Answer answer) = 0;
};

}  // namespace vantrell
