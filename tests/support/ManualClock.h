#pragma once

#include "models/Clock.h"

namespace vantrell {

// A clock that stands still until a test moves it.
class ManualClock : public Clock {
public:
    // 2023-03-09 UTC: an ordinary moment, far from the reference date.
    static constexpr Date defaultStart{700'000'000};

    explicit ManualClock(Date start = defaultStart);

    Date now() const override;
    void set(Date date);
    void advance(double seconds);

private:
    Date m_now;
};

}  // namespace vantrell
