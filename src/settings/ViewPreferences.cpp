#include "settings/ViewPreferences.h"

#include "settings/Preferences.h"

#include <cmath>
#include <type_traits>

namespace vantrell {

ViewPreferences::ViewPreferences(DefaultsStore& defaults, QObject* parent)
    : QObject(parent), m_defaults(defaults)
{
}

bool ViewPreferences::adjustExternalFlows() const
{
    return readPreference(m_defaults, preferences::adjustExternalFlows);
}

bool ViewPreferences::alertsEnabled() const
{
    return readPreference(m_defaults, preferences::alertsEnabled);
}

QString ViewPreferences::alertUpperUSD() const
{
    return readPreference(m_defaults, preferences::alertUpperUSD);
}

QString ViewPreferences::alertLowerUSD() const
{
    return readPreference(m_defaults, preferences::alertLowerUSD);
}

QString ViewPreferences::alertPercent() const
{
    return readPreference(m_defaults, preferences::alertPercent);
}

std::optional<double> ViewPreferences::alertCooldownMinutes() const
{
    return readPreference(m_defaults, preferences::alertCooldownMinutes);
}

bool ViewPreferences::setAdjustExternalFlows(bool value)
{
    return write(preferences::adjustExternalFlows, value,
                 &ViewPreferences::adjustExternalFlowsChanged);
}

bool ViewPreferences::setAlertsEnabled(bool value)
{
    return write(preferences::alertsEnabled, value, &ViewPreferences::alertsEnabledChanged);
}

bool ViewPreferences::setAlertUpperUSD(const QString& text)
{
    return write(preferences::alertUpperUSD, text, &ViewPreferences::alertUpperUSDChanged);
}

bool ViewPreferences::setAlertLowerUSD(const QString& text)
{
    return write(preferences::alertLowerUSD, text, &ViewPreferences::alertLowerUSDChanged);
}

bool ViewPreferences::setAlertPercent(const QString& text)
{
    return write(preferences::alertPercent, text, &ViewPreferences::alertPercentChanged);
}

bool ViewPreferences::setAlertCooldownMinutes(double minutes)
{
    return write(preferences::alertCooldownMinutes, std::optional<double>(minutes),
                 &ViewPreferences::alertCooldownMinutesChanged);
}

// Compares what is read back before and after, so a text stored in an odd form that reads the
// same is not announced, and a failed write announces nothing.
template <typename T, typename Preference>
bool ViewPreferences::write(const Preference& preference, const T& value,
                            void (ViewPreferences::*changed)())
{
    const T before = readPreference(m_defaults, preference);
    const bool saved = writePreference(m_defaults, preference, value);
    const T after = readPreference(m_defaults, preference);
    // NaN never equals itself, but writing NaN over NaN is no change.
    if constexpr (std::is_same_v<T, std::optional<double>>) {
        if (before && after && std::isnan(*before) && std::isnan(*after)) {
            return saved;
        }
    }
    if (!(before == after)) {
        Q_EMIT(this->*changed)();
        Q_EMIT valueChanged(preference.key.toString());
    }
    return saved;
}

}  // namespace vantrell
