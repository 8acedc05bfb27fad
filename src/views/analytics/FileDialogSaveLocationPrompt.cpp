#include "views/analytics/FileDialogSaveLocationPrompt.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include <memory>

namespace vantrell {

FileDialogSaveLocationPrompt::FileDialogSaveLocationPrompt(QWidget* window) : m_window(window) {}

void FileDialogSaveLocationPrompt::chooseSaveLocation(const QString& defaultFileName, Answer answer)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    auto* dialog = new QFileDialog(m_window, QString(), QDir(folder).filePath(defaultFileName),
                                   QStringLiteral("CSV (*.csv)"));
    dialog->setObjectName(QStringLiteral("exportSaveDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(m_window ? Qt::WindowModal : Qt::ApplicationModal);
    // Exactly one answer, whether the dialog closes or is destroyed with its window first.
    auto pending = std::make_shared<Answer>(std::move(answer));
    const auto reply = [pending](std::optional<QString> path) {
        if (*pending) {
            const Answer once = std::exchange(*pending, nullptr);
            once(std::move(path));
        }
    };
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, reply](int result) {
        const QStringList files = dialog->selectedFiles();
        if (result == QDialog::Accepted && !files.isEmpty()) {
            reply(files.constFirst());
        } else {
            reply(std::nullopt);
        }
    });
    QObject::connect(dialog, &QObject::destroyed, [reply] { reply(std::nullopt); });
    dialog->open();
}

}  // namespace vantrell
