#pragma once

#include "platform/Notifier.h"

namespace vantrell {

// For a desktop without a tray or notification service: nothing is ever shown, so permission
// is never reported as granted and the settings form can tell the user.
class NullNotifier final : public Notifier {
public:
    void post(const QString& title, const QString& body) override;
    QCoro::Task<bool> requestAuthorization() override;
};

}  // namespace vantrell
