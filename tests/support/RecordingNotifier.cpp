#include "support/RecordingNotifier.h"

namespace vantrell {

void RecordingNotifier::post(const QString& title, const QString& body)
{
    m_notifications.push_back({title, body});
}

QCoro::Task<bool> RecordingNotifier::requestAuthorization()
{
    ++m_authorizationRequests;
    co_return m_granted;
}

}  // namespace vantrell
