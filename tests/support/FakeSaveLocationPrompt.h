#pragma once

#include "files/SaveLocationPrompt.h"

#include <QStringList>

namespace vantrell::test {

// A save prompt that records what it was asked and answers when the test says so.
class FakeSaveLocationPrompt final : public SaveLocationPrompt {
public:
    void chooseSaveLocation(const QString& defaultFileName, Answer answer) override;

    // Answers the last open request; false when none is open.
    bool answer(std::optional<QString> path);

    const QStringList& proposedNames() const { return m_proposedNames; }

private:
    QStringList m_proposedNames;
    Answer m_pending;
};

}  // namespace vantrell::test
