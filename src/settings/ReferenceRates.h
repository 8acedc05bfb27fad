#pragma once

#include "models/Decimal.h"
#include "networking/HttpRequest.h"
#include "networking/HttpResponse.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringView>
#include <QUrl>
#include <QVariant>

#include <chrono>
#include <optional>

namespace vantrell {

// Units of each currency per 1 euro, keyed by three-letter code ("EUR" is 1).
using CurrencyRates = QMap<QString, Decimal>;

// The central bank's daily euro reference rates: where they are downloaded from, how a
// downloaded file is read, and how the accepted rates are kept in the defaults store.
class ReferenceRates {
public:
    // The daily file is small; the time-out only guards against a connection that hangs.
    static constexpr std::chrono::milliseconds downloadTimeout{60000};
    // A reply larger than this is given up as it arrives; the daily file is a few kilobytes.
    static constexpr qsizetype maxBodySize = 256 * 1024;

    static QUrl dailyUrl();
    static HttpRequest downloadRequest();

    // The rates of a reply, or nothing when the reply is not accepted as a whole: no HTTP
    // status, a status outside 200-299, or a body refused by `parse`.
    static std::optional<CurrencyRates> fromResponse(const HttpResponse& response);

    // The rates of a downloaded file, or nothing when the bytes are not valid UTF-8 or the
    // rates lack one of the currencies the conversion needs ("USD", "CNY", "HKD"). A file is
    // never accepted in part.
    static std::optional<CurrencyRates> parse(const QByteArray& body);

    // Every currency/rate attribute pair of the text, in order, over an "EUR" = 1 seed; a later
    // pair replaces an earlier one of the same code. Rates that are not numbers are skipped.
    static CurrencyRates scan(QStringView text);

    static bool hasRequiredCurrencies(const CurrencyRates& rates);

    // Stored form: a map from code to plain decimal text. Reading gives an empty map unless
    // the value is a map of texts only; texts that are not numbers are dropped one by one.
    static QVariant toStored(const CurrencyRates& rates);
    static CurrencyRates fromStored(const QVariant& value);
};

}  // namespace vantrell
