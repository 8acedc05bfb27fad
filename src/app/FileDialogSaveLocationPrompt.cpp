#include "app/FileDialogSaveLocationPrompt.h"

#include <QDir>
#include <QFileDialog>

namespace vantrell {

void FileDialogSaveLocationPrompt::chooseSaveLocation(const QString& defaultFileName, Answer answer)
{
    auto* dialog = new QFileDialog(nullptr, QString(), QDir::homePath());
    dialog->setObjectName(QStringLiteral("exportSaveDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(QStringLiteral("CSV (*.csv)"));
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->selectFile(defaultFileName);
    // `finished` comes once, for the accepted and the cancelled dialog alike.
    QObject::connect(dialog, &QFileDialog::finished, dialog,
                     [dialog, answer = std::move(answer)](int result) {
                         const QStringList files = dialog->selectedFiles();
                         if (result == QDialog::Accepted && !files.isEmpty()) {
                             answer(files.first());
                         } else {
                             answer(std::nullopt);
                         }
                     });
    dialog->open();
}

}  // namespace vantrell
