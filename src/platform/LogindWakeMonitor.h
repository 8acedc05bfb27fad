#pragma once

#include "platform/WakeMonitor.h"

namespace vantrell {

// Listens to logind's PrepareForSleep signal on the system bus: the signal carries true before
// the system sleeps and false once it has woken, and only the latter is reported. Without a
// system bus (a container, a session without logind) it stays silent.
class LogindWakeMonitor final : public WakeMonitor {
    Q_OBJECT

public:
    explicit LogindWakeMonitor(QObject* parent = nullptr);

    // Whether the subscription to logind is in place.
    bool isListening() const { return m_listening; }

private Q_SLOTS:
    // Called by the bus with logind's argument.
    void prepareForSleep(bool goingToSleep);

private:
    bool m_listening = false;
};

}  // namespace vantrell
