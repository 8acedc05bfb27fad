#include "views/analytics/FileDialogSaveLocationPrompt.h"

#include "support/ScopedEnvironmentVariable.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace vantrell;
using vantrell::test::ScopedEnvironmentVariable;

namespace {

struct Answers {
    int count = 0;
    std::optional<QString> last;
};

QFileDialog* openDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

void ask(FileDialogSaveLocationPrompt& prompt, Answers& answers)
{
    prompt.chooseSaveLocation(QStringLiteral("Vantrell-2024-05-01.csv"),
                              [&answers](std::optional<QString> path) {
                                  ++answers.count;
                                  answers.last = std::move(path);
                              });
}

TEST(FileDialogSaveLocationPromptTest, OffersCsvUnderTheProposedNameAndAnswersTheChoice)
{
    QTemporaryDir folder;
    QWidget window;
    window.show();
    FileDialogSaveLocationPrompt prompt(&window);
    Answers answers;
    ask(prompt, answers);
    QFileDialog* dialog = window.findChild<QFileDialog*>(QStringLiteral("exportSaveDialog"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(answers.count, 0);  // nothing blocks; the answer comes when the dialog closes
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("CSV (*.csv)")});
    EXPECT_TRUE(
        dialog->selectedFiles().value(0).endsWith(QStringLiteral("Vantrell-2024-05-01.csv")));

    const QString path = folder.filePath(QStringLiteral("history.csv"));
    dialog->selectFile(path);
    QMetaObject::invokeMethod(dialog, "accept");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(answers.count, 1);
    EXPECT_EQ(answers.last, path);
}

TEST(FileDialogSaveLocationPromptTest, CancelAndAClosedWindowAnswerNothingOnce)
{
    auto window = std::make_unique<QWidget>();
    window->show();
    FileDialogSaveLocationPrompt prompt(window.get());
    Answers answers;
    ask(prompt, answers);
    window->findChild<QFileDialog*>(QStringLiteral("exportSaveDialog"))->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(answers.count, 1);
    EXPECT_EQ(answers.last, std::nullopt);

    Answers orphaned;
    orphaned.last = QStringLiteral("unchanged");
    ask(prompt, orphaned);
    window.reset();
    EXPECT_EQ(orphaned.count, 1);
    EXPECT_EQ(orphaned.last, std::nullopt);
    EXPECT_EQ(openDialog(), nullptr);
}

TEST(FileDialogSaveLocationPromptTest, StartsInTheDocumentsFolderOrElseTheHomeFolder)
{
    QTemporaryDir home;
    const QString documents = home.filePath(QStringLiteral("Documents"));
    const QString file = home.filePath(QStringLiteral("notes.txt"));
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_EQ(FileDialogSaveLocationPrompt::startFolder(documents, home.path()), home.path());
    EXPECT_EQ(FileDialogSaveLocationPrompt::startFolder(file, home.path()), home.path());
    EXPECT_EQ(FileDialogSaveLocationPrompt::startFolder(QString(), home.path()), home.path());
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    EXPECT_EQ(FileDialogSaveLocationPrompt::startFolder(documents, home.path()), documents);
}

TEST(FileDialogSaveLocationPromptTest, WithoutADocumentsFolderOffersTheFileInTheHomeFolder)
{
    QTemporaryDir home;
    QTemporaryDir config;  // no user-dirs.dirs: the documents folder is ~/Documents
    const ScopedEnvironmentVariable homeScope("HOME", QFile::encodeName(home.path()));
    const ScopedEnvironmentVariable configScope("XDG_CONFIG_HOME",
                                                QFile::encodeName(config.path()));
    QWidget window;
    FileDialogSaveLocationPrompt prompt(&window);
    Answers answers;
    ask(prompt, answers);
    auto* dialog = window.findChild<QFileDialog*>(QStringLiteral("exportSaveDialog"));
    ASSERT_NE(dialog, nullptr);
    const QFileInfo offered(dialog->selectedFiles().value(0));
    EXPECT_EQ(offered.absolutePath(), QFileInfo(home.path()).absoluteFilePath());
    EXPECT_EQ(offered.fileName(), QStringLiteral("Vantrell-2024-05-01.csv"));
    dialog->reject();
}

}  // namespace
