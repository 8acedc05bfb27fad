#pragma once

#include <QObject>

#include <memory>

namespace vantrell {

// Tells the program that the computer woke from sleep, so the portfolio can be refreshed at once
// instead of showing data from before the sleep until the next timer tick. Main thread only.
class WakeMonitor : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // The monitor of this system: logind's where a system bus is reachable, otherwise one that
    // never reports a wake. Owned by the caller (no QObject parent).
    static std::unique_ptr<WakeMonitor> create();

Q_SIGNALS:
    void woke();
};

}  // namespace vantrell
