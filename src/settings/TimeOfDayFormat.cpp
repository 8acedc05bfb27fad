#include "settings/TimeOfDayFormat.h"

#include <algorithm>
#include <vector>

namespace vantrell {

namespace {

// One piece of a Qt time format: a field ("h", "mm"), the day period ("AP", or a letter of the
// locale data that stands for it), or literal text (a character, or a quoted run).
struct Token {
    enum class Kind { field, dayPeriod, literal };

    Kind kind;
    QString text;

    bool isField(QStringView letters) const
    {
        return kind == Kind::field && letters.contains(text.front());
    }
};

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The end of the quoted run that starts at `from`; "''" inside it is a quote.
qsizetype quotedEnd(const QString& format, qsizetype from)
{
    qsizetype i = from + 1;
    while (i < format.size()) {
        if (format[i] != u'\'') {
            ++i;
        } else if (i + 1 < format.size() && format[i + 1] == u'\'') {
            i += 2;
        } else {
            return i + 1;
        }
    }
    return format.size();
}

qsizetype runEnd(const QString& format, qsizetype from)
{
    qsizetype end = from + 1;
    while (end < format.size() && format[end] == format[from]) {
        ++end;
    }
    return end;
}

Token tokenAt(const QString& format, qsizetype from)
{
    const QChar c = format[from];
    if (c == u'\'') {
        return {Token::Kind::literal, format.mid(from, quotedEnd(format, from) - from)};
    }
    if (c == u'A' || c == u'a') {
        const bool pair = from + 1 < format.size() && format[from + 1].toUpper() == u'P';
        return {Token::Kind::dayPeriod, format.mid(from, pair ? 2 : 1)};
    }
    if (c == u'B' || c == u'b') {
        // A flexible or plain day period in the locale data; unknown to Qt's formatter.
        return {Token::Kind::dayPeriod, format.mid(from, runEnd(format, from) - from)};
    }
    if (isAsciiLetter(c)) {
        return {Token::Kind::field, format.mid(from, runEnd(format, from) - from)};
    }
    return {Token::Kind::literal, QString(c)};
}

std::vector<Token> tokensOf(const QString& format)
{
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < format.size(); i += tokens.back().text.size()) {
        tokens.push_back(tokenAt(format, i));
    }
    return tokens;
}

using TokenIterator = std::vector<Token>::const_iterator;

// What stands between the hours and the minutes when it is one mark (":", "."), else ":": a word
// ("時") or a quoted unit ("'h'") names the hours, not the seconds.
QString secondsSeparator(TokenIterator hour, TokenIterator minute)
{
    if (minute - hour == 2) {
        const QString& between = (hour + 1)->text;
        const QChar mark = between.front();
        if (between.size() == 1 && !mark.isSpace() && !mark.isLetterOrNumber() && mark != u'\'') {
            return between;
        }
    }
    return QStringLiteral(":");
}

}  // namespace

QString TimeOfDayFormat::pattern(const QLocale& locale)
{
    std::vector<Token> tokens = tokensOf(locale.timeFormat(QLocale::ShortFormat));
    // A zone has no place here; no short format has one today, but the data may change.
    std::erase_if(tokens, [](const Token& token) { return token.isField(u"t"); });
    const auto hour = std::find_if(tokens.cbegin(), tokens.cend(),
                                   [](const Token& token) { return token.isField(u"hH"); });
    const auto minute =
        std::find_if(hour, tokens.cend(), [](const Token& token) { return token.isField(u"m"); });
    if (minute == tokens.cend()) {
        return QStringLiteral("HH:mm:ss");
    }
    const bool hasSeconds = std::any_of(tokens.cbegin(), tokens.cend(),
                                        [](const Token& token) { return token.isField(u"s"); });
    QString pattern;
    for (auto token = tokens.cbegin(); token != tokens.cend(); ++token) {
        // "Ap": the locale's own text, in its own case.
        pattern += token->kind == Token::Kind::dayPeriod ? QStringLiteral("Ap") : token->text;
        if (token == minute && !hasSeconds) {
            pattern += secondsSeparator(hour, minute) % QString(minute->text.size(), u's');
        }
    }
    return pattern.trimmed();
}

QString TimeOfDayFormat::text(QTime time, const QLocale& locale)
{
    return locale.toString(time, pattern(locale));
}

}  // namespace vantrell
