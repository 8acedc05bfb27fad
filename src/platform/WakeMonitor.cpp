#include "platform/WakeMonitor.h"

#include "platform/LogindWakeMonitor.h"
#include "platform/NullWakeMonitor.h"

namespace vantrell {

std::unique_ptr<WakeMonitor> WakeMonitor::create()
{
    auto logind = std::make_unique<LogindWakeMonitor>();
    if (logind->isListening()) {
        return logind;
    }
    return std::make_unique<NullWakeMonitor>();
}

}  // namespace vantrell
