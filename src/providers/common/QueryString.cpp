#include "providers/common/QueryString.h"

#include <QList>
#include <QPair>
#include <QUrlQuery>

namespace vantrell {

QString QueryString::encoded(const RequestParameters& parameters)
{
    QList<QPair<QString, QString>> items;
    items.reserve(static_cast<qsizetype>(parameters.size()));
    for (const auto& [key, value] : parameters) {
        items.append({key, value});
    }
    QUrlQuery query;
    query.setQueryItems(items);
    // QUrl's own fully encoded form, so parsing the URL later leaves the text unchanged.
    return query.query(QUrl::FullyEncoded);
}

QString QueryString::plain(const RequestParameters& parameters)
{
    QString text;
    for (const auto& [key, value] : parameters) {
        if (!text.isEmpty()) {
            text += u'&';
        }
        text += key % u'=' % value;
    }
    return text;
}

}  // namespace vantrell
