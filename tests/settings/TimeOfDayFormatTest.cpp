#include "settings/TimeOfDayFormat.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QList>

namespace vantrell {
namespace {

const QTime afternoon(15, 4, 5);

QString text(const char* locale, QTime time = afternoon)
{
    return TimeOfDayFormat::text(time, QLocale(QString::fromLatin1(locale)));
}

TEST(TimeOfDayFormatTest, ReadsAsTheLocaleWritesATime)
{
    const std::pair<const char*, const char*> rows[] = {
        {"en_US", "3:04:05 PM"},   {"zh_CN", "15:04:05"},
        {"zh_TW", "下午3:04:05"},  // a day period Qt's own formatter prints as "B"
        {"zh_HK", "下午3:04:05"},  {"es_ES", "15:04:05"},
        {"en_CA", "3:04:05 p.m."},  // the locale's own case
        {"da_DK", "15.04.05"},      // its own separator
        {"ko_KR", "오후 3:04:05"},  // the day period first
        {"bg_BG", "15:04:05 ч."},   // with the locale's literal text
        {"C", "15:04:05"},          // seconds already there
    };
    for (const auto& [locale, expected] : rows) {
        SCOPED_TRACE(locale);
        EXPECT_EQ(text(locale), QString::fromUtf8(expected));
    }
    EXPECT_EQ(text("zh_TW", QTime(9, 4, 5)), u"上午9:04:05"_qs);
    EXPECT_EQ(text("en_US", QTime(0, 0, 0)), u"12:00:00 AM"_qs);
}

// Every locale Qt knows: no zone, no bracket left from one, no letter Qt does not know, and
// each of hours, day period, minutes and seconds shown.
TEST(TimeOfDayFormatTest, EveryLocaleShowsHoursMinutesAndSecondsOnly)
{
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 500);
    // What Qt writes for a zone in a time: the system's own.
    const QString zone = QDateTime::currentDateTime().timeZoneAbbreviation();
    for (const QLocale& locale : locales) {
        SCOPED_TRACE(locale.name().toStdString());
        const QString pattern = TimeOfDayFormat::pattern(locale);
        const QString shown = locale.toString(afternoon, pattern);
        QString rest = shown;
        rest.remove(locale.pmText());
        for (const char16_t stray : {u'(', u')', u'[', u']', u'（', u'）', u'B'}) {
            EXPECT_FALSE(rest.contains(stray)) << shown.toStdString();
        }
        for (const QString& zoneName : {zone, u"UTC"_qs, u"GMT"_qs}) {
            EXPECT_FALSE(rest.contains(zoneName)) << shown.toStdString();
        }
        for (const QTime other :
             {QTime(3, 4, 5), QTime(16, 4, 5), QTime(15, 5, 5), QTime(15, 4, 6)}) {
            EXPECT_NE(locale.toString(other, pattern), shown) << other.toString().toStdString();
        }
    }
}

}  // namespace
}  // namespace vantrell
