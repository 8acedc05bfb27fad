#include "providers/common/RequestTimestamp.h"

#include <QDateTime>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vantrell {

namespace {

QString decimalText(qint64 value)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, end - buffer);
}

}  // namespace

RequestTimestamp RequestTimestamp::now(const Clock& clock)
{
    // The clock keeps seconds in a double, so a time computed as x.678 may sit a hair below
    // it: round to whole microseconds first so the truncation to milliseconds does not lose
    // one. A clock far outside any real date is clamped rather than overflowing.
    constexpr double limit = 9.0e15;  // microseconds, some 285 years either side of 1970
    const double micro = std::clamp(clock.now().unixSeconds() * 1e6, -limit, limit);
    const auto microseconds = static_cast<qint64>(std::llround(std::isnan(micro) ? 0.0 : micro));
    return RequestTimestamp(microseconds / 1000);  // integer division truncates toward zero
}

QString RequestTimestamp::millisecondsText() const
{
    return decimalText(m_milliseconds);
}

QString RequestTimestamp::secondsText() const
{
    return decimalText(m_milliseconds / 1000);
}

QString RequestTimestamp::isoText() const
{
    return QDateTime::fromMSecsSinceEpoch(m_milliseconds, Qt::UTC).toString(Qt::ISODateWithMs);
}

}  // namespace vantrell
