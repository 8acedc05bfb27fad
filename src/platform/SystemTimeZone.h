#pragma once

#include <QTimeZone>

namespace vantrell {

// The time zone the user's clock shows, which decides where a local day begins. Where TZ names a
// zone this system lacks, or there is no zone data at all, Qt has no valid zone to give; the C
// library reads UTC then, and so does the program, rather than lose track of the day.
QTimeZone systemTimeZone();

}  // namespace vantrell
