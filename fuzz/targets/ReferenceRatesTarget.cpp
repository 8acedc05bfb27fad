#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "settings/ReferenceRates.h"

#include <QString>

namespace vantrell::fuzz {

void fuzzReferenceRates(const std::uint8_t* data, std::size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<CurrencyRates> rates = ReferenceRates::parse(body);

    HttpResponse response{200, {}, body};
    check(ReferenceRates::fromResponse(response) == rates,
          "a 200 reply reads differently from its body");
    response.statusCode = 404;
    check(!ReferenceRates::fromResponse(response), "a 404 reply gave rates");

    const CurrencyRates scanned = ReferenceRates::scan(QString::fromUtf8(body));
    check(scanned.contains(QStringLiteral("EUR")), "the scan lost its euro seed");
    if (rates) {
        check(ReferenceRates::hasRequiredCurrencies(*rates), "accepted rates lack a currency");
        // What is kept in the defaults store must read back as the same rates.
        check(ReferenceRates::fromStored(ReferenceRates::toStored(*rates)) == *rates,
              "stored rates read back different");
    }
}

}  // namespace vantrell::fuzz
