#pragma once

#include "files/PortfolioValuePoint.h"
#include "models/Clock.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace vantrell {

class PortfolioDiskWriter;
class SaveLocationPrompt;

// The history export: proposes "Vantrell-<UTC date>.csv", asks the user where to save it, and
// writes the points off the main thread. Cancelling is not a failure.
class PortfolioCSVExport {
public:
    using FailureHandler = std::function<void(const QString& message)>;

    // The prompt, the writer and the clock must outlive this object.
    explicit PortfolioCSVExport(SaveLocationPrompt& prompt,
                                PortfolioDiskWriter* writer = nullptr,  // the shared writer
                                const Clock& clock = Clock::system());

    // Exports `points` as they are now (points recorded while the prompt is open are not part
    // of it). A failed write calls `onFailure` with the failure text on the main thread; nothing
    // happens once `context` is gone.
    void start(std::vector<PortfolioValuePoint> points, QObject* context, FailureHandler onFailure);

private:
    SaveLocationPrompt& m_prompt;
    PortfolioDiskWriter& m_writer;
    const Clock& m_clock;
};

}  // namespace vantrell
