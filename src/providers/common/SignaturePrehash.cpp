#include "providers/common/SignaturePrehash.h"

#include "providers/common/RequestSigner.h"

namespace vantrell {

QString SignaturePrehash::binance(RequestParameters parameters, QStringView receiveWindow,
                                  const RequestTimestamp& timestamp)
{
    parameters.insert_or_assign(QStringLiteral("recvWindow"), receiveWindow.toString());
    parameters.insert_or_assign(QStringLiteral("timestamp"), timestamp.millisecondsText());
    return QueryString::plain(parameters);
}

QString SignaturePrehash::okx(const RequestTimestamp& timestamp, QStringView method,
                              QStringView requestPath)
{
    return timestamp.isoText() % method % requestPath;
}

QString SignaturePrehash::bybit(const RequestTimestamp& timestamp, QStringView apiKey,
                                QStringView receiveWindow, QStringView query)
{
    return timestamp.millisecondsText() % apiKey % receiveWindow % query;
}

QString SignaturePrehash::bitget(const RequestTimestamp& timestamp, QStringView method,
                                 QStringView path, QStringView query)
{
    QString text = timestamp.millisecondsText() % method % path;
    if (!query.isEmpty()) {
        text += u'?' % query;
    }
    return text;
}

QString SignaturePrehash::gate(QStringView method, QStringView prefixedPath, QStringView query,
                               const QByteArray& body, const RequestTimestamp& timestamp)
{
    return method % u'\n' % prefixedPath % u'\n' % query % u'\n' % RequestSigner::sha512Hex(body) %
           u'\n' % timestamp.secondsText();
}

}  // namespace vantrell
