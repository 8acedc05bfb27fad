#pragma once

#include "platform/DefaultsStore.h"

#include <QObject>
#include <QString>

#include <optional>

namespace vantrell {

// The preferences that views keep directly in the defaults store (the flow adjustment and the
// alert thresholds). They have no model object of their own, yet two settings forms and the
// analytics page must all see a change at once, so every view goes through one shared instance
// of this class: it reads the store afresh on each get, writes through at once and announces
// each change. The store's alerts and performance figures read the same keys themselves.
//
// Setters always write (also an unchanged value), report whether the write was saved, and
// announce only a value that actually changed. Main thread only.
class ViewPreferences final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool adjustExternalFlows READ adjustExternalFlows WRITE setAdjustExternalFlows NOTIFY
                   adjustExternalFlowsChanged)
    Q_PROPERTY(
        bool alertsEnabled READ alertsEnabled WRITE setAlertsEnabled NOTIFY alertsEnabledChanged)

public:
    // `defaults` must outlive this object.
    explicit ViewPreferences(DefaultsStore& defaults, QObject* parent = nullptr);

    bool adjustExternalFlows() const;  // default false
    bool alertsEnabled() const;        // default false
    // The threshold texts exactly as typed; "" when absent.
    QString alertUpperUSD() const;
    QString alertLowerUSD() const;
    QString alertPercent() const;
    // Minutes; nothing while absent (the form then shows 30, the alerts apply 30).
    std::optional<double> alertCooldownMinutes() const;

    bool setAdjustExternalFlows(bool value);
    bool setAlertsEnabled(bool value);
    bool setAlertUpperUSD(const QString& text);
    bool setAlertLowerUSD(const QString& text);
    bool setAlertPercent(const QString& text);
    bool setAlertCooldownMinutes(double minutes);

Q_SIGNALS:
    void adjustExternalFlowsChanged();
    void alertsEnabledChanged();
    void alertUpperUSDChanged();
    void alertLowerUSDChanged();
    void alertPercentChanged();
    void alertCooldownMinutesChanged();
    // Also emitted for every change above, with the key that changed.
    void valueChanged(const QString& key);

private:
    template <typename T, typename Preference>
    bool write(const Preference& preference, const T& value, void (ViewPreferences::*changed)());

    DefaultsStore& m_defaults;
};

}  // namespace vantrell
