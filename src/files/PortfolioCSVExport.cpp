#include "files/PortfolioCSVExport.h"

#include "files/PortfolioCSVWriter.h"
#include "files/PortfolioDiskWriter.h"
#include "files/SaveLocationPrompt.h"

#include <QPointer>

#include <memory>
#include <optional>
#include <utility>

namespace vantrell {

PortfolioCSVExport::PortfolioCSVExport(SaveLocationPrompt& prompt, PortfolioDiskWriter* writer,
                                       const Clock& clock)
    : m_prompt(prompt),
      m_writer(writer != nullptr ? *writer : PortfolioDiskWriter::shared()),
      m_clock(clock)
{
}

void PortfolioCSVExport::start(std::vector<PortfolioValuePoint> points, QObject* context,
                               FailureHandler onFailure)
{
    auto kept = std::make_shared<std::vector<PortfolioValuePoint>>(std::move(points));
    PortfolioDiskWriter* writer = &m_writer;
    // The prompt may answer long after this call; by then the context may be gone.
    m_prompt.chooseSaveLocation(PortfolioCSVWriter::defaultFileName(m_clock.now()),
                                [kept, writer, guard = QPointer<QObject>(context),
                                 onFailure = std::move(onFailure)](std::optional<QString> path) {
                                    if (!path || path->isEmpty() || !guard) {
                                        return;
                                    }
                                    PortfolioCSVWriter::write(
                                        std::move(*kept), *path, *writer, guard.data(),
                                        [onFailure](bool succeeded) {
                                            if (!succeeded && onFailure) {
                                                onFailure(PortfolioCSVWriter::failureMessage);
                                            }
                                        });
                                });
}

}  // namespace vantrell
