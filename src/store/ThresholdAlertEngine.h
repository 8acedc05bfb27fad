#pragma once

#include "models/Date.h"
#include "models/Decimal.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <set>
#include <vector>

namespace vantrell {

// The memory of the threshold alerts: which conditions were notified and still hold, when the
// last notification went out, and the thresholds the fired set belongs to. It decides whether
// an evaluation posts a notification; reading the settings and posting are left to
// PortfolioAlerts. Lives in memory only, so a condition that still holds after a restart is
// notified again.
struct ThresholdAlertEngine {
    // Each condition's text is both its key in `fired` and its line in the notification.
    static constexpr QStringView upperBoundCondition = u"资产达到上限";
    static constexpr QStringView lowerBoundCondition = u"资产达到下限";
    static constexpr QStringView changeCondition = u"资产变化达到阈值";
    static constexpr QStringView bodySeparator = u"；";
    // Notifications never come closer together than this, whatever the cooldown setting.
    static constexpr double shortestCooldownSeconds = 60;

    // A threshold of 0 or below switches its condition off. `percent` is in per cent units.
    struct Thresholds {
        Decimal upper;
        Decimal lower;
        Decimal percent;
    };

    std::set<QString> fired;
    Date lastAlert = Date::distantPast();
    // [upper, lower, percent] of the evaluation that last changed them; empty at first.
    std::vector<Decimal> configuration;

    // One evaluation at `now` of the total in US dollars and the change of the chosen period in
    // per cent (absent when unknown). Returns the body of the notification to post, or nothing.
    // New conditions that the cooldown holds back stay out of `fired` and are tried again at
    // the next evaluation.
    std::optional<QString> evaluate(const Thresholds& thresholds, double cooldownMinutes,
                                    const Decimal& totalUSD, const std::optional<Decimal>& percent,
                                    Date now);

    // The texts of the conditions that hold, in no particular order.
    static std::vector<QString> holdingConditions(const Thresholds& thresholds,
                                                  const Decimal& totalUSD,
                                                  const std::optional<Decimal>& percent);
};

}  // namespace vantrell
