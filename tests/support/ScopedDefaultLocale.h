#pragma once

#include <QLocale>
#include <QString>

namespace vantrell::test {

// Sets the process's default locale for the lifetime of the object, so formatted texts are
// the same on every machine.
class ScopedDefaultLocale {
public:
    explicit ScopedDefaultLocale(const QString& name) { QLocale::setDefault(QLocale(name)); }
    ~ScopedDefaultLocale() { QLocale::setDefault(m_previous); }
    ScopedDefaultLocale(const ScopedDefaultLocale&) = delete;
    ScopedDefaultLocale& operator=(const ScopedDefaultLocale&) = delete;

private:
    QLocale m_previous;
};

}  // namespace vantrell::test
