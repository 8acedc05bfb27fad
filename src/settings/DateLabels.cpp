#include "settings/DateLabels.h"

#include <QDateTime>

#include <algorithm>
#include <vector>

namespace vantrell::DateLabels {

namespace {

// One piece of a Qt date-time format: a run of one pattern letter, or literal text (quotes kept
// as written).
struct Token {
    QString text;
    bool isField = false;
    bool removed = false;

    QChar letter() const { return text.front(); }
    // A literal without letters, or one with white space, separates fields; a literal of
    // letters without white space ("年", "日") is the suffix of the field before it.
    bool isSeparator() const
    {
        const bool hasLetter = std::any_of(text.begin(), text.end(),
                                           [](QChar c) { return c.isLetter() && c != u'\''; });
        const bool hasSpace =
            std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
        return !isField && (!hasLetter || hasSpace);
    }
};

bool isPatternLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

std::vector<Token> tokenize(const QString& format)
{
    std::vector<Token> tokens;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
        }
        const bool field = !quoted && c != u'\'' && isPatternLetter(c);
        if (!tokens.empty() && tokens.back().isField == field &&
            (!field || tokens.back().letter() == c)) {
            tokens.back().text += c;
        } else {
            tokens.push_back({QString(c), field});
        }
    }
    return tokens;
}

// Removes the fields `drop` selects, each with its suffix or the separator before it, then the
// separators left at either end.
template <typename Drop>
QString without(const QString& format, Drop drop)
{
    std::vector<Token> tokens = tokenize(format);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].isField || !drop(tokens[i])) {
            continue;
        }
        tokens[i].removed = true;
        if (i + 1 < tokens.size() && !tokens[i + 1].isField && !tokens[i + 1].isSeparator()) {
            tokens[i + 1].removed = true;
        } else if (i > 0 && tokens[i - 1].isSeparator()) {
            tokens[i - 1].removed = true;
        }
    }
    std::vector<Token> kept;
    std::copy_if(tokens.begin(), tokens.end(), std::back_inserter(kept),
                 [](const Token& t) { return !t.removed; });
    while (!kept.empty() && kept.front().isSeparator()) {
        kept.erase(kept.begin());
    }
    while (!kept.empty() && kept.back().isSeparator()) {
        kept.pop_back();
    }
    QString result;
    for (const Token& token : kept) {
        result += token.text;
    }
    return result;
}

QString shortTime(const QLocale& locale)
{
    return without(locale.timeFormat(QLocale::ShortFormat), [](const Token& t) {
        return t.letter() == u's' || t.letter() == u'z' || t.letter() == u't';
    });
}

QString format(Date date, const QLocale& locale, const QTimeZone& timeZone, const QString& pattern)
{
    return locale.toString(date.toDateTime().toTimeZone(timeZone), pattern);
}

}  // namespace

QString monthDayFormat(const QLocale& locale)
{
    QString pattern = without(locale.dateFormat(QLocale::LongFormat), [](const Token& t) {
        const bool weekday = t.letter() == u'd' && t.text.size() >= 3;
        return t.letter() == u'y' || weekday;
    });
    // A month written out in full becomes its abbreviation.
    return pattern.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
}

QString hourMinuteFormat(const QLocale& locale)
{
    return shortTime(locale);
}

QString hourFormat(const QLocale& locale)
{
    return without(shortTime(locale), [](const Token& t) { return t.letter() == u'm'; });
}

QString monthDay(Date date, const QLocale& locale, const QTimeZone& timeZone)
{
    return format(date, locale, timeZone, monthDayFormat(locale));
}

QString hourMinute(Date date, const QLocale& locale, const QTimeZone& timeZone)
{
    return format(date, locale, timeZone, hourMinuteFormat(locale));
}

QString monthDayHourMinute(Date date, const QLocale& locale, const QTimeZone& timeZone)
{
    return format(date, locale, timeZone, monthDayFormat(locale) + u' ' + hourMinuteFormat(locale));
}

QString monthDayHour(Date date, const QLocale& locale, const QTimeZone& timeZone)
{
    return format(date, locale, timeZone, monthDayFormat(locale) + u' ' + hourFormat(locale));
}

}  // namespace vantrell::DateLabels
