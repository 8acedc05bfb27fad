#pragma once

#include "files/SaveLocationPrompt.h"

namespace vantrell {

// Asks where to save an export with the desktop's save dialog. The dialog does not block: the
// answer comes when the user closes it.
class FileDialogSaveLocationPrompt final : public SaveLocationPrompt {
public:
    void chooseSaveLocation(const QString& defaultFileName, Answer answer) override;
};

}  // namespace vantrell
