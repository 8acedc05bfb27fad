#pragma once

#include "views/settings/PermissionRequestTracker.h"

#include <QCoroTask>
#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace vantrell {

class Notifier;
class ViewPreferences;

// The settings form's "资产提醒" section: the alert switch, the three thresholds stored exactly as
// typed, the cooldown stepper, and the notice shown when notifications are not authorised.
//
// Switching alerts on asks the desktop for permission; only the answer to the latest request,
// arriving while alerts are still on, may show the notice, so it never shows while alerts are
// off. Every form sees the shared preferences change, so two open forms stay in step.
class AlertSettingsSection : public QWidget {
    Q_OBJECT

public:
    // Both must outlive the section.
    AlertSettingsSection(ViewPreferences& preferences, Notifier& authorizer,
                         QWidget* parent = nullptr);

    bool isPermissionDenied() const { return m_permissionDenied; }

private:
    QWidget* buildFields();
    QLineEdit* thresholdField(const QString& placeholder, const QString& name,
                              bool (ViewPreferences::*write)(const QString&));
    void syncFromPreferences();
    void alertsEnabledChanged();
    QCoro::Task<void> requestPermission();
    void setPermissionDenied(bool denied);
    void stepCooldown(bool up);

    QPointer<ViewPreferences> m_preferences;
    Notifier& m_authorizer;
    PermissionRequestTracker m_requests;
    bool m_permissionDenied = false;

    QCheckBox* m_enabled = nullptr;
    QWidget* m_fields = nullptr;
    QLineEdit* m_upper = nullptr;
    QLineEdit* m_lower = nullptr;
    QLineEdit* m_percent = nullptr;
    QLabel* m_cooldown = nullptr;
    QLabel* m_deniedNotice = nullptr;
};

}  // namespace vantrell
