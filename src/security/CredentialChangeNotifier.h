#pragma once

#include <QObject>

namespace vantrell {

// Announces that stored credentials or the list of additional accounts were written. Credential
// stores are plain values that can be made anywhere, so they all report to this one object;
// pages that list exchanges or accounts listen to it instead of waiting for the next refresh.
// Main thread only. The signal carries no values: listeners read the stores again.
class CredentialChangeNotifier final : public QObject {
    Q_OBJECT

public:
    // The process-wide notifier, made on first use.
    static CredentialChangeNotifier& instance();

    // Called by the credential store after each write or removal that went to the defaults store
    // (also when the write failed: part of it may have been applied).
    void notifyChanged() { Q_EMIT credentialsChanged(); }

Q_SIGNALS:
    void credentialsChanged();

private:
    CredentialChangeNotifier() = default;
};

}  // namespace vantrell
