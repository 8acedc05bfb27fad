#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace vantrell {

QString QtTranslations::standardFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QtTranslations::QtTranslations(const QString& folder)
{
    // The widgets' texts live in qtbase's catalogue ("qtbase_zh_CN.qm").
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    if (m_translator.load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        m_installed = QCoreApplication::installTranslator(&m_translator);
    }
}

QtTranslations::~QtTranslations()
{
    if (m_installed) {
        QCoreApplication::removeTranslator(&m_translator);
    }
}

}  // namespace vantrell
