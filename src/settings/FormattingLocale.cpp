#include "settings/FormattingLocale.h"

namespace vantrell {

QLocale FormattingLocale::forSystem(const QLocale& system)
{
    if (system.language() == QLocale::C) {
        return QLocale(QLocale::English, QLocale::UnitedStates);
    }
    return system;
}

void FormattingLocale::install()
{
    QLocale::setDefault(forSystem(QLocale::system()));
}

}  // namespace vantrell
