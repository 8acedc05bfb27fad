#pragma once

#include "models/Clock.h"
#include "models/Decimal.h"
#include "platform/DefaultsStore.h"
#include "platform/Notifier.h"
#include "settings/Preferences.h"
#include "store/ThresholdAlertEngine.h"

#include <QStringView>
#include <QVariant>

#include <optional>

namespace vantrell {

// The threshold alerts of the portfolio store: after a refresh that produced fresh, complete
// data it reads the user's alert settings afresh and posts a notification when the total
// reaches a bound or the period's change reaches the set percentage. Main thread only.
class PortfolioAlerts {
public:
    // Written by the settings form, read here at every evaluation.
    static constexpr QStringView enabledKey = preferences::alertsEnabled.key;  // Bool
    static constexpr QStringView upperKey = preferences::alertUpperUSDKey;     // decimal text
    static constexpr QStringView lowerKey = preferences::alertLowerUSDKey;     // decimal text
    static constexpr QStringView percentKey = preferences::alertPercentKey;    // decimal text
    static constexpr QStringView cooldownMinutesKey = preferences::alertCooldownMinutes.key;
    // What the settings form shows while nothing readable is stored, so the engine applies the
    // same; an endless cooldown counts as the longest the form offers.
    static constexpr double defaultCooldownMinutes = 30;
    static constexpr double longestCooldownMinutes = 1440;
    static constexpr QStringView notificationTitle = u"Vantrell";

    // The stores, clock and notifier must outlive this object.
    PortfolioAlerts(const DefaultsStore& defaults, const Clock& clock, Notifier& notifier);
    PortfolioAlerts(const PortfolioAlerts&) = delete;
    PortfolioAlerts& operator=(const PortfolioAlerts&) = delete;

    // `percent` is the change of the period the user chose, in per cent units. With alerts
    // switched off the engine starts over, so the first condition after switching them on
    // again is notified at once.
    void evaluate(const Decimal& totalUSD, const std::optional<Decimal>& percent);

    const ThresholdAlertEngine& engine() const { return m_engine; }

    // A stored threshold: the whole text (surrounding blanks aside) must be a plain decimal
    // number with "." as separator. Anything else, "1,000" and "5%" included, reads as 0 and
    // so switches the condition off rather than firing on a misread number.
    static Decimal threshold(const QVariant& stored);
    // The stored cooldown in minutes, read as the settings form shows it: 30 when nothing is
    // stored or the value is not a number, 1440 for positive infinity, 0 for negative.
    static double cooldownMinutes(const QVariant& stored);

private:
    const DefaultsStore& m_defaults;
    const Clock& m_clock;
    Notifier& m_notifier;
    ThresholdAlertEngine m_engine;
};

}  // namespace vantrell
