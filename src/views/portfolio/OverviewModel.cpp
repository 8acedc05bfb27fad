#include "views/portfolio/OverviewModel.h"

#include "settings/AppSettings.h"
#include "settings/PositionSorting.h"
#include "store/PortfolioStore.h"

#include <algorithm>

namespace vantrell {

const QString OverviewModel::title = QStringLiteral("资产总览");
const QString OverviewModel::notConnectedBadge = QStringLiteral("未连接");
const QString OverviewModel::totalLabel = QStringLiteral("总资产");
const QString OverviewModel::emptyHint = QStringLiteral("添加交易所后，这里将显示你的资产数据。");
const QString OverviewModel::unavailableNote = QStringLiteral("不会影响其他交易所更新");
const QString OverviewModel::positionsTitle = QStringLiteral("合约持仓");

OverviewModel OverviewModel::build(const PortfolioReading& reading, const DisplayContext& display,
                                   std::vector<double> trendValues)
{
    OverviewModel model;
    model.fillHeader(reading, display);
    model.sparklineValues = std::move(trendValues);
    for (const Exchange exchange : reading.configuredExchanges) {
        if (const ExchangeAccount* account = reading.account(exchange)) {
            model.cards.push_back(liveCard(*account, display.amounts));
            continue;
        }
        ExchangeCard card;
        card.exchange = exchange;
        card.name = toStored(exchange);
        card.status = unavailableStatus(reading.status(exchange).state);
        model.cards.push_back(std::move(card));
    }
    const std::vector<Position> sorted =
        PositionSorting::sorted(reading.snapshot.positions, display.sortMode);
    model.positionRows.reserve(sorted.size());
    for (const Position& position : sorted) {
        model.positionRows.push_back(PositionRowTexts::forOverview(position, display.amounts));
    }
    return model;
}

OverviewModel OverviewModel::build(const PortfolioStore& store, const AppSettings& settings,
                                   Date now)
{
    const DisplayContext display = DisplayContext::from(settings);
    return build(PortfolioReading::read(store, display.period), display,
                 store.trendValues(display.period, now));
}

void OverviewModel::fillHeader(const PortfolioReading& reading, const DisplayContext& display)
{
    const bool isLive = reading.snapshot.isLive;
    showsNotConnectedBadge = !isLive;
    lastUpdatedText = QStringLiteral("最后更新 ") + reading.lastUpdatedTime();
    refreshButtonText = reading.isRefreshing ? QStringLiteral("正在刷新") : QStringLiteral("刷新");
    refreshEnabled = !reading.isRefreshing;
    const QString period = DisplayContext::periodWord(display.period);
    trendTitle = period + QStringLiteral(" 资产曲线");
    totalText = isLive ? display.amounts.money(reading.snapshot.totalValue) : QStringLiteral("—");
    // The total and the curve follow the percent even when the profit is missing.
    totalTint = changeTintOf(reading.displayedChangePercent);
    sparklineTint = totalTint;
    if (reading.displayedPnL && reading.displayedChangePercent) {
        periodLine = period + u' ' +
                     display.amounts.performanceSummary(*reading.displayedPnL,
                                                        *reading.displayedChangePercent);
        periodLineTint = changeTintOf(*reading.displayedChangePercent);
    }
}

OverviewModel::ExchangeCard OverviewModel::liveCard(const ExchangeAccount& account,
                                                    const AmountTexts& amounts)
{
    ExchangeCard card;
    card.exchange = account.exchange;
    card.name = toStored(account.exchange);
    card.isLive = true;
    if (account.dailyChangePercent) {
        card.changeText = AmountTexts::percent(*account.dailyChangePercent);
        card.changeTint = changeTintOf(*account.dailyChangePercent);
    }
    card.totalText = amounts.money(account.totalValue);
    card.totalTint = changeTintOf(account.dailyChangePercent);
    const bool hasBar = account.totalValue > Decimal(0);
    for (const AccountBreakdown& breakdown : account.accounts) {
        card.accountRows.push_back(AccountRow::make(breakdown, amounts));
        if (hasBar) {
            card.barFractions.push_back((breakdown.value / account.totalValue).toDouble());
        }
    }
    return card;
}

StatusLabel OverviewModel::unavailableStatus(const ExchangeRefreshStatus::State& state)
{
    using Kind = ExchangeRefreshStatus::State::Kind;
    using Tone = StatusLabel::Tone;
    switch (state.kind) {
        case Kind::unconfigured:
            return {QStringLiteral("未配置只读 API"), QStringLiteral("key"), Tone::secondary};
        case Kind::connecting:
            return {QStringLiteral("正在连接…"), QStringLiteral("arrow.triangle.2.circlepath"),
                    Tone::orange};
        case Kind::connected:
            return {QStringLiteral("暂无账户资产"), QStringLiteral("tray"), Tone::secondary};
        case Kind::failed:
            break;
    }
    return {QStringLiteral("连接失败，请在设置中查看"),
            QStringLiteral("exclamationmark.triangle.fill"), Tone::red};
}

std::vector<double> OverviewModel::segmentWidths(const std::vector<double>& fractions, double width)
{
    std::vector<double> widths;
    widths.reserve(fractions.size());
    for (const double fraction : fractions) {
        widths.push_back(std::max(2.0, fraction * width - 1));
    }
    return widths;
}

}  // namespace vantrell
