#pragma once

#include "platform/Notifier.h"

#include <QString>

#include <vector>

namespace vantrell {

// A notifier that shows nothing and keeps every notification posted, in order.
class RecordingNotifier final : public Notifier {
public:
    struct Notification {
        QString title;
        QString body;
        friend bool operator==(const Notification&, const Notification&) = default;
    };

    void post(const QString& title, const QString& body) override;
    // Answers with the value set by setGranted (true unless changed).
    QCoro::Task<bool> requestAuthorization() override;

    const std::vector<Notification>& notifications() const { return m_notifications; }
    int authorizationRequests() const { return m_authorizationRequests; }
    void setGranted(bool granted) { m_granted = granted; }
    void clear() { m_notifications.clear(); }

private:
    std::vector<Notification> m_notifications;
    int m_authorizationRequests = 0;
    bool m_granted = true;
};

}  // namespace vantrell
