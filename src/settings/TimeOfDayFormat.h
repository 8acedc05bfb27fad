#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

namespace vantrell {

// A time of day as a locale writes it: hours (with the locale's day period where it uses one),
// minutes and seconds; no date and no time zone.
//
// Built from the locale's short time format, which has no zone, with the seconds added after the
// minutes. The locale's long format is no base: its zone sits in brackets or behind a comma in
// many locales, and leaving the zone out leaves those behind. The day period is written as the
// locale has it, also where Qt's locale data names it by a letter Qt does not know ("B", which
// it would print as it stands) or asks for it in upper case ("P.M." for "p.m.").
class TimeOfDayFormat {
public:
    // A format for QLocale::toString(QTime, QString).
    static QString pattern(const QLocale& locale);
    static QString text(QTime time, const QLocale& locale);
};

}  // namespace vantrell
