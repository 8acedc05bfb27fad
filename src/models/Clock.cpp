#include "models/Clock.h"

#include <chrono>

namespace vantrell {

namespace {

class SystemClock final : public Clock {
public:
    Date now() const override
    {
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        return Date::fromUnixSeconds(std::chrono::duration<double>(sinceEpoch).count());
    }
};

}  // namespace

const Clock& Clock::system()
{
    static const SystemClock clock;
    return clock;
}

}  // namespace vantrell
