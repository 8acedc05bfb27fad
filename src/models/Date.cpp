#include "models/Date.h"

#include <cmath>

namespace vantrell {

Date Date::fromDateTime(const QDateTime& dateTime)
{
    return fromUnixSeconds(static_cast<double>(dateTime.toMSecsSinceEpoch()) / 1000.0);
}

QDateTime Date::toDateTime() const
{
    // Rounded, not truncated: milliseconds / 1000 is rarely exact in binary, so truncating
    // would turn 1.234 s into 1.233 s on the way back.
    const double milliseconds = std::round(unixSeconds() * 1000.0);
    // Far outside any real timestamp (and outside qint64) means there is no time to show.
    constexpr double limit = 1e17;
    if (!std::isfinite(milliseconds) || std::abs(milliseconds) > limit) {
        return {};
    }
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(milliseconds), Qt::UTC);
}

}  // namespace vantrell
