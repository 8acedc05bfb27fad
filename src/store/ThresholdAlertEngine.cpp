#include "store/ThresholdAlertEngine.h"

#include <algorithm>
#include <cmath>

namespace vantrell {

std::optional<QString> ThresholdAlertEngine::evaluate(const Thresholds& thresholds,
                                                      double cooldownMinutes,
                                                      const Decimal& totalUSD,
                                                      const std::optional<Decimal>& percent,
                                                      Date now)
{
    // Thresholds compare as numbers, so "5" and "5.0" keep the fired set; the cooldown is not
    // part of it.
    std::vector<Decimal> current{thresholds.upper, thresholds.lower, thresholds.percent};
    if (current != configuration) {
        fired.clear();
        configuration = std::move(current);
    }

    const std::vector<QString> holding = holdingConditions(thresholds, totalUSD, percent);
    // A condition that stopped holding leaves the fired set, so it can be notified again.
    std::set<QString> stillHolding;
    std::vector<QString> newConditions;
    for (const QString& condition : holding) {
        if (fired.contains(condition)) {
            stillHolding.insert(condition);
        } else {
            newConditions.push_back(condition);
        }
    }
    fired = std::move(stillHolding);

    // A NaN cooldown would make the comparison below always false and post every time.
    const double minutes = std::isfinite(cooldownMinutes) ? cooldownMinutes : 0;
    const double cooldown = std::max(minutes * 60, shortestCooldownSeconds);
    if (newConditions.empty() || now.secondsSince(lastAlert) < cooldown) {
        return std::nullopt;
    }

    lastAlert = now;
    fired.insert(newConditions.begin(), newConditions.end());
    // The texts lie below U+FFFF, where QString's UTF-16 order is code-point order.
    std::sort(newConditions.begin(), newConditions.end());
    QString body;
    for (const QString& condition : newConditions) {
        if (!body.isEmpty()) {
            body += bodySeparator;
        }
        body += condition;
    }
    return body;
}

std::vector<QString> ThresholdAlertEngine::holdingConditions(const Thresholds& thresholds,
                                                             const Decimal& totalUSD,
                                                             const std::optional<Decimal>& percent)
{
    const Decimal zero;
    std::vector<QString> holding;
    if (thresholds.upper > zero && totalUSD >= thresholds.upper) {
        holding.push_back(upperBoundCondition.toString());
    }
    if (thresholds.lower > zero && totalUSD <= thresholds.lower) {
        holding.push_back(lowerBoundCondition.toString());
    }
    if (thresholds.percent > zero && percent && percent->abs() >= thresholds.percent) {
        holding.push_back(changeCondition.toString());
    }
    return holding;
}

}  // namespace vantrell
