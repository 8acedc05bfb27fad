#include "app/QtTranslations.h"

#include "support/ScopedDefaultLocale.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace vantrell;

namespace {

const char* const catalogueName = "qtbase_zh_CN.qm";

QString translated(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text);
}

QStringList contextMenuTexts()
{
    QLineEdit edit(QStringLiteral("75100"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << action->text().section(u'\t', 0, 0);  // without the shortcut
    }
    return texts;
}

TEST(QtTranslationsTest, WithoutQtsCatalogueQtsTextsStayEnglish)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    {
        const QtTranslations translations(empty.path());
        EXPECT_FALSE(translations.isInstalled());
        EXPECT_EQ(translated("QLineEdit", "&Copy"), QStringLiteral("&Copy"));
    }
    EXPECT_TRUE(contextMenuTexts().join(u' ').contains(QStringLiteral("Select All")));
}

TEST(QtTranslationsTest, QtsCatalogueTurnsDialogsAndMenusChineseInAnEnglishLocale)
{
    const QString catalogue = QDir(QtTranslations::standardFolder()).filePath(catalogueName);
    if (!QFile::exists(catalogue)) {
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    }
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(catalogue, QDir(folder.path()).filePath(catalogueName)));
    const test::ScopedDefaultLocale english(QStringLiteral("en_US"));
    {
        const QtTranslations translations(folder.path());
        ASSERT_TRUE(translations.isInstalled());
        const QStringList menu = contextMenuTexts();
        EXPECT_TRUE(menu.contains(QStringLiteral("复制(&C)"))) << menu.join(u' ').toStdString();
        EXPECT_TRUE(menu.contains(QStringLiteral("粘贴(&P)"))) << menu.join(u' ').toStdString();
        EXPECT_EQ(translated("QFileDialog", "Save As"), QStringLiteral("另存为"));
    }
    // Gone with the object.
    EXPECT_EQ(translated("QLineEdit", "&Copy"), QStringLiteral("&Copy"));
}

}  // namespace
