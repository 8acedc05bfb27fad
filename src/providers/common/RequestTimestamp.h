#pragma once

#include "models/Clock.h"

#include <QString>
#include <QtGlobal>

namespace vantrell {

// The moment one signed request is built, in the three forms the exchanges sign. Every signed
// request reads the clock for itself; the calls of one snapshot never share a timestamp.
class RequestTimestamp {
public:
    explicit RequestTimestamp(qint64 millisecondsSinceEpoch)
        : m_milliseconds(millisecondsSinceEpoch)
    {
    }

    // The clock's time, truncated toward zero to whole milliseconds since 1970-01-01 UTC.
    static RequestTimestamp now(const Clock& clock);

    qint64 milliseconds() const { return m_milliseconds; }
    // "1700000000000" (Binance, Bybit, Bitget).
    QString millisecondsText() const;
    // Whole seconds, truncated toward zero: "1700000000" (Gate).
    QString secondsText() const;
    // UTC with three fractional digits and "Z": "2023-11-14T22:13:20.000Z" (OKX).
    QString isoText() const;

private:
    qint64 m_milliseconds;
};

}  // namespace vantrell
