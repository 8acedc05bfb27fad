#pragma once

#include <cstdint>

namespace vantrell {

// Decides whether the answer to a notification permission request still counts. Only the
// answer to the latest request, made while alerts are still switched on, may set the form's
// "not authorised" notice: an answer overtaken by a newer request, or arriving after alerts
// were switched off again, is dropped.
class PermissionRequestTracker {
public:
    using Ticket = std::uint64_t;

    // Alerts were switched on and a request goes out: its ticket.
    Ticket begin() { return m_current = ++m_issued; }
    // Alerts were switched off: every answer still on its way is dropped.
    void cancel() { m_current = 0; }
    // Whether the answer of the request with `ticket` may be applied.
    bool accepts(Ticket ticket) const { return ticket != 0 && ticket == m_current; }

private:
    Ticket m_issued = 0;
    Ticket m_current = 0;
};

}  // namespace vantrell
