#include "support/FakeSaveLocationPrompt.h"

#include <utility>

namespace vantrell::test {

void FakeSaveLocationPrompt::chooseSaveLocation(const QString& defaultFileName, Answer answer)
{
    m_proposedNames.append(defaultFileName);
    m_pending = std::move(answer);
}

bool FakeSaveLocationPrompt::answer(std::optional<QString> path)
{
    if (!m_pending) {
        return false;
    }
    Answer pending = std::exchange(m_pending, nullptr);
    pending(std::move(path));
    return true;
}

}  // namespace vantrell::test
