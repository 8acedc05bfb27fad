#include "platform/Notifier.h"

#include "platform/FreedesktopNotifier.h"
#include "platform/NullNotifier.h"

namespace vantrell {

std::unique_ptr<Notifier> Notifier::create()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        return std::make_unique<FreedesktopNotifier>(bus);
    }
    return std::make_unique<NullNotifier>();
}

}  // namespace vantrell
