#include "store/PortfolioAlerts.h"

#include "settings/Preference.h"

#include <cmath>

namespace vantrell {

PortfolioAlerts::PortfolioAlerts(const DefaultsStore& defaults, const Clock& clock,
                                 Notifier& notifier)
    : m_defaults(defaults), m_clock(clock), m_notifier(notifier)
{
}

void PortfolioAlerts::evaluate(const Decimal& totalUSD, const std::optional<Decimal>& percent)
{
    if (!readPreference(m_defaults, preferences::alertsEnabled)) {
        m_engine = ThresholdAlertEngine{};
        return;
    }
    const ThresholdAlertEngine::Thresholds thresholds{
        threshold(m_defaults.value(upperKey.toString())),
        threshold(m_defaults.value(lowerKey.toString())),
        threshold(m_defaults.value(percentKey.toString())),
    };
    const double cooldown = cooldownMinutes(m_defaults.value(cooldownMinutesKey.toString()));
    const auto body = m_engine.evaluate(thresholds, cooldown, totalUSD, percent, m_clock.now());
    if (body) {
        m_notifier.post(notificationTitle.toString(), *body);
    }
}

Decimal PortfolioAlerts::threshold(const QVariant& stored)
{
    switch (stored.typeId()) {
        case QMetaType::QString:
        // A number stored as such reads as its locale-free text.
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Double:
            return Decimal::parse(stored.toString().trimmed()).value_or(Decimal());
        default:
            return Decimal();
    }
}

double PortfolioAlerts::cooldownMinutes(const QVariant& stored)
{
    const std::optional<double> minutes = storedNumberIfAny(stored);
    if (!minutes || std::isnan(*minutes)) {
        return defaultCooldownMinutes;
    }
    if (std::isinf(*minutes)) {
        return *minutes > 0 ? longestCooldownMinutes : 0;
    }
    return *minutes;
}

}  // namespace vantrell
