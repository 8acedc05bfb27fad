#include "views/analytics/FileDialogSaveLocationPrompt.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

namespace vantrell {

FileDialogSaveLocationPrompt::FileDialogSaveLocationPrompt(QWidget* window) : m_window(window) {}

QString FileDialogSaveLocationPrompt::startFolder(const QString& documents, const QString& home)
{
    // A path the dialog cannot open sends it to the working folder.
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : home;
}

void FileDialogSaveLocationPrompt::chooseSaveLocation(const QString& defaultFileName, Answer answer)
{
    const QString folder = startFolder(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath());
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
    // The choice is kept as it is made: the dialog is not asked again once it closes, when it
    // may already be going away.
    auto chosen = std::make_shared<std::optional<QString>>();
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                     [chosen](const QString& file) { *chosen = file; });
    QObject::connect(dialog, &QFileDialog::finished, dialog, [chosen, reply](int result) {
        reply(result == QDialog::Accepted ? *chosen : std::nullopt);
    });
    QObject::connect(dialog, &QObject::destroyed, [reply] { reply(std::nullopt); });
    dialog->open();
}

}  // namespace vantrell
