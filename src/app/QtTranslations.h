#pragma once

#include <QString>
#include <QTranslator>

namespace vantrell {

// Qt's own texts (file dialogs, context menus, the date picker) in Chinese, like every text of
// ours, whatever the system locale is. Installed into the application while the object lives;
// without Qt's catalogue (the translations package is not installed) Qt stays in English.
class QtTranslations {
public:
    // Qt's translations folder of this installation.
    static QString standardFolder();

    explicit QtTranslations(const QString& folder = standardFolder());
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    bool isInstalled() const { return m_installed; }

private:
    QTranslator m_translator;
    bool m_installed = false;
};

}  // namespace vantrell
