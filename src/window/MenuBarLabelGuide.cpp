#include "window/MenuBarLabelGuide.h"

#include <algorithm>

namespace vantrell {

namespace {

bool hasDigit(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

}  // namespace

QString MenuBarLabelGuide::masked(const QString& text)
{
    QString result = text;
    std::replace_if(
        result.begin(), result.end(), [](QChar c) { return c.isDigit(); }, u'8');
    return result;
}

QString MenuBarLabelGuide::guide(MenuBarDisplayMode mode, const std::optional<QString>& title,
                                 const QString& total)
{
    if (!title) {
        return QString();
    }
    // Without an amount there is no length to keep.
    if (mode != MenuBarDisplayMode::totalWithChange || !hasDigit(total)) {
        return masked(*title);
    }
    const QString prefix = total + u' ';
    const QString change = title->startsWith(prefix) ? title->mid(prefix.size()) : QString();
    return masked(prefix) + changeGuide(change);
}

// "+1.23%", "-0.50%" and "0.00%" all read "+88.88%"; "+123.45%" reads "+888.88%".
QString MenuBarLabelGuide::changeGuide(const QString& change)
{
    QString digits = change;
    if (digits.startsWith(u'+') || digits.startsWith(u'-')) {
        digits.remove(0, 1);
    }
    digits = masked(digits);
    const qsizetype point = digits.indexOf(u'.');
    if (point < 0) {
        return QStringLiteral("+88.88%");
    }
    return QStringLiteral("+") + QString(std::max<qsizetype>(0, 2 - point), u'8') + digits;
}

}  // namespace vantrell
