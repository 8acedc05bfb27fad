#pragma once

#include "models/Date.h"

#include <QLocale>
#include <QString>
#include <QTimeZone>

namespace vantrell::DateLabels {

// Short localized date and time texts for chart axes, annotations and "last updated" captions.
// Qt offers only whole date or time formats per locale, so the patterns are cut out of them:
// fields that are not wanted go, together with the separator before them, and a suffix that
// belongs to a removed field (the "年" after the year) goes with it.

// The abbreviated month and the day ("MMM d" in en_US, "M月d日" in zh_CN).
QString monthDayFormat(const QLocale& locale);
// Hour and minute, with the day period where the locale writes one ("h:mm AP", "HH:mm").
QString hourMinuteFormat(const QLocale& locale);
// The hour alone, with the day period where the locale writes one ("h AP", "HH").
QString hourFormat(const QLocale& locale);

QString monthDay(Date date, const QLocale& locale, const QTimeZone& timeZone);
QString hourMinute(Date date, const QLocale& locale, const QTimeZone& timeZone);
// Month, day, hour and minute: the form of the settings' and flows' dates.
QString monthDayHourMinute(Date date, const QLocale& locale, const QTimeZone& timeZone);
// Month, day and hour.
QString monthDayHour(Date date, const QLocale& locale, const QTimeZone& timeZone);

}  // namespace vantrell::DateLabels
