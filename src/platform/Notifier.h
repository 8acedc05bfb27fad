#pragma once

#include <QCoroTask>
#include <QString>

#include <memory>

namespace vantrell {

// Desktop notifications. Main thread only.
class Notifier {
public:
    virtual ~Notifier() = default;

    // The notifier of this desktop: the freedesktop notification service where a session bus
    // is reachable, otherwise one that shows nothing.
    static std::unique_ptr<Notifier> create();

    // Shows one notification at once, with the desktop's default sound where it has one. Every
    // call is a notification of its own: none replaces an earlier one. Posting never asks for
    // permission first; a desktop that refuses simply shows nothing.
    virtual void post(const QString& title, const QString& body) = 0;

    // Asks the desktop for permission to show notifications with sound. True when granted;
    // false when refused or when the request itself failed.
    virtual QCoro::Task<bool> requestAuthorization() = 0;
};

}  // namespace vantrell
