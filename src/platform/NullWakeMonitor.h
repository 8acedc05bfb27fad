#pragma once

#include "platform/WakeMonitor.h"

namespace vantrell {

// For a system that cannot tell us about sleep: the timer alone keeps the portfolio current.
class NullWakeMonitor final : public WakeMonitor {
    Q_OBJECT

public:
    using WakeMonitor::WakeMonitor;
};

}  // namespace vantrell
