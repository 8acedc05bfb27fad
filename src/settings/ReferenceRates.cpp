#include "settings/ReferenceRates.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace vantrell {

namespace {

// The rate file quotes each rate as currency='XXX' rate='n.nnnn' on one element. Only these
// attribute pairs are relied on, so the file is scanned rather than parsed as XML.
const QRegularExpression& ratePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(currency=['\"]([A-Z]{3})['\"]\s+rate=['\"]([0-9.]+)['\"])"));
    return pattern;
}

std::optional<QString> decodeUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

}  // namespace

QUrl ReferenceRates::dailyUrl()
{
    return QUrl(QStringLiteral("https://www.ecb.europa.eu/stats/eurofxref/eurofxref-daily.xml"));
}

HttpRequest ReferenceRates::downloadRequest()
{
    HttpRequest request;
    request.url = dailyUrl();
    request.timeout = downloadTimeout;
    request.maxBodyBytes = maxBodySize;
    return request;
}

std::optional<CurrencyRates> ReferenceRates::fromResponse(const HttpResponse& response)
{
    if (!response.statusCode || *response.statusCode < 200 || *response.statusCode > 299) {
        return std::nullopt;
    }
    return parse(response.body);
}

std::optional<CurrencyRates> ReferenceRates::parse(const QByteArray& body)
{
    const std::optional<QString> text = decodeUtf8(body);
    if (!text) {
        return std::nullopt;
    }
    CurrencyRates rates = scan(*text);
    if (!hasRequiredCurrencies(rates)) {
        return std::nullopt;
    }
    return rates;
}

CurrencyRates ReferenceRates::scan(QStringView text)
{
    const QRegularExpression& pattern = ratePattern();
    if (!pattern.isValid()) {
        return {};
    }
    CurrencyRates rates{{QStringLiteral("EUR"), Decimal(1)}};
    QRegularExpressionMatchIterator matches = pattern.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        if (match.lastCapturedIndex() != 2) {
            continue;
        }
        if (std::optional<Decimal> rate = Decimal::parse(match.captured(2))) {
            rates.insert(match.captured(1), *rate);
        }
    }
    return rates;
}

bool ReferenceRates::hasRequiredCurrencies(const CurrencyRates& rates)
{
    return rates.contains(QStringLiteral("USD")) && rates.contains(QStringLiteral("CNY")) &&
           rates.contains(QStringLiteral("HKD"));
}

QVariant ReferenceRates::toStored(const CurrencyRates& rates)
{
    QVariantMap stored;
    for (auto it = rates.cbegin(); it != rates.cend(); ++it) {
        stored.insert(it.key(), it.value().toQString());
    }
    return stored;
}

CurrencyRates ReferenceRates::fromStored(const QVariant& value)
{
    if (value.typeId() != QMetaType::QVariantMap) {
        return {};
    }
    const QVariantMap stored = value.toMap();
    for (const QVariant& text : stored) {
        if (text.typeId() != QMetaType::QString) {
            return {};
        }
    }
    CurrencyRates rates;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (std::optional<Decimal> rate = Decimal::parse(it.value().toString())) {
            rates.insert(it.key(), *rate);
        }
    }
    return rates;
}

}  // namespace vantrell
