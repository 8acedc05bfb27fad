#pragma once

#include "files/SaveLocationPrompt.h"

#include <QPointer>
#include <QWidget>

namespace vantrell {

// The export's save dialog: a window-modal file dialog over the given window (or a free one
// without a window) offering CSV files only. It never blocks the event loop; the answer comes
// when the dialog closes, or as a cancel when the dialog is destroyed with its window.
class FileDialogSaveLocationPrompt final : public SaveLocationPrompt {
public:
    explicit FileDialogSaveLocationPrompt(QWidget* window = nullptr);

    void setWindow(QWidget* window) { m_window = window; }

    void chooseSaveLocation(const QString& defaultFileName, Answer answer) override;

    // The folder the dialog opens in: the documents folder, or the home folder where there is
    // none (a fresh account, a minimal install), never the process's working folder.
    static QString startFolder(const QString& documents, const QString& home);

private:
    QPointer<QWidget> m_window;
};

}  // namespace vantrell
