#pragma once

#include "models/Date.h"

namespace vantrell {

// The source of "now" for every comparison of times, so tests can set the time instead of
// sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date now() const = 0;

    // The wall clock, shared by the whole process.
    static const Clock& system();
};

}  // namespace vantrell
