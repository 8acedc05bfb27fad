#pragma once

#include <QLocale>

namespace vantrell {

// The locale every amount, quantity and date is written in: the system's, except where the
// system has none. A minimal install or a session without LANG runs in the C (POSIX) locale,
// whose Qt form puts the currency sign after the number ("75,100.00$"); those get the en_US
// conventions ("$75,100.00") instead.
class FormattingLocale {
public:
    FormattingLocale() = delete;

    static QLocale forSystem(const QLocale& system);

    // Makes forSystem(QLocale::system()) the process's default locale, which every formatter
    // and widget reads through QLocale(). Call once at start, before anything is formatted.
    static void install();
};

}  // namespace vantrell
