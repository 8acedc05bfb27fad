#include "store/PortfolioFreshness.h"

#include "settings/TimeOfDayFormat.h"

#include <QStringList>

#include <algorithm>

namespace vantrell {

namespace {

using Kind = ExchangeRefreshStatus::State::Kind;

bool isWithinLimit(const Date& lastSuccess, double refreshInterval, Date now)
{
    return now.secondsSince(lastSuccess) <= PortfolioFreshness::limitSeconds(refreshInterval);
}

}  // namespace

double PortfolioFreshness::limitSeconds(double refreshInterval)
{
    return std::max(3 * refreshInterval, 30.0);
}

bool PortfolioFreshness::isFresh(const ExchangeRefreshStatus& status, double refreshInterval,
                                 Date now)
{
    if (status.state.kind == Kind::failed || !status.detail.isEmpty() || !status.lastSuccess) {
        return false;
    }
    return isWithinLimit(*status.lastSuccess, refreshInterval, now);
}

bool PortfolioFreshness::hasFreshCompleteData(const std::vector<Exchange>& configured,
                                              const PortfolioRefreshState& state,
                                              double refreshInterval, Date now)
{
    if (configured.empty()) {
        return false;
    }
    return std::all_of(configured.begin(), configured.end(), [&](Exchange exchange) {
        const ExchangeRefreshStatus status = state.status(exchange);
        const Kind kind = status.state.kind;
        if ((kind != Kind::connecting && kind != Kind::connected) || !status.lastSuccess) {
            return false;
        }
        const auto quality = state.quality.find(exchange);
        if (quality == state.quality.end() || !quality->second.isEmpty()) {
            return false;
        }
        return isWithinLimit(*status.lastSuccess, refreshInterval, now);
    });
}

QString PortfolioFreshness::description(const std::vector<Exchange>& configured,
                                        const PortfolioRefreshState& state, const QLocale& locale,
                                        const QTimeZone& timeZone)
{
    QStringList lines;
    for (Exchange exchange : configured) {
        const ExchangeRefreshStatus status = state.status(exchange);
        lines.append(toStored(exchange) + u"：" + stateText(status) + u" · " +
                     timeText(status.lastSuccess, locale, timeZone));
    }
    return lines.join(u'\n');
}

QString PortfolioFreshness::stateText(const ExchangeRefreshStatus& status)
{
    switch (status.state.kind) {
        case Kind::unconfigured:
            return QStringLiteral("等待更新");
        case Kind::connecting:
            return QStringLiteral("保留上次数据");
        case Kind::connected:
            return status.detail.isEmpty() ? QStringLiteral("正常") : status.detail;
        case Kind::failed:
            break;
    }
    return status.detail.isEmpty() ? QStringLiteral("更新失败，保留上次数据") : status.detail;
}

QString PortfolioFreshness::timeText(const std::optional<Date>& lastSuccess, const QLocale& locale,
                                     const QTimeZone& timeZone)
{
    if (!lastSuccess) {
        return QStringLiteral("尚未更新");
    }
    const QDateTime local = lastSuccess->toDateTime().toTimeZone(timeZone);
    return TimeOfDayFormat::text(local.time(), locale);
}

}  // namespace vantrell
