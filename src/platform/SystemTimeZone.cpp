#include "platform/SystemTimeZone.h"

namespace vantrell {

QTimeZone systemTimeZone()
{
    QTimeZone zone = QTimeZone::systemTimeZone();
    return zone.isValid() ? zone : QTimeZone::utc();
}

}  // namespace vantrell
