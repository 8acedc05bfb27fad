#include "views/popover/PopoverModel.h"

#include "settings/AppSettings.h"
#include "settings/PositionSorting.h"
#include "store/PortfolioStore.h"
#include "views/popover/PopoverHeight.h"
#include "views/portfolio/PositionSortTexts.h"

namespace vantrell {

namespace {

using Kind = ExchangeRefreshStatus::State::Kind;
using Tone = StatusLabel::Tone;

StatusLabel notConfigured()
{
    return {QStringLiteral("未配置 API"), QStringLiteral("key"), Tone::secondary};
}

}  // namespace

const QString PopoverModel::notConnectedText = QStringLiteral("未连接");
const QString PopoverModel::refreshTooltip = QStringLiteral("刷新");
const QString PopoverModel::settingsTooltip = QStringLiteral("设置");
const QString PopoverModel::quitTooltip = QStringLiteral("退出");
const QString PopoverModel::positionsTitle = QStringLiteral("合约持仓");
const QString PopoverModel::noPositionsText = QStringLiteral("暂无合约持仓");
const QString PopoverModel::openMainWindowText = QStringLiteral("打开主窗口");

PopoverModel PopoverModel::build(const PortfolioReading& reading, const DisplayContext& display,
                                 const Extras& extras)
{
    PopoverModel model;
    model.fillHeader(reading, display);
    for (const Exchange exchange : reading.configuredExchanges) {
        model.cards.push_back(card(exchange, reading, display.amounts));
    }
    model.fillPositions(reading, display);
    if (extras.availableVersion) {
        model.bannerText =
            QStringLiteral("发现新版本 v") + *extras.availableVersion + QStringLiteral(" · 安装");
    }
    model.floatingActionText =
        extras.isFloatingVisible ? QStringLiteral("关闭悬浮窗") : QStringLiteral("打开悬浮窗");
    model.height = PopoverHeight::height(reading, extras.availableVersion.has_value(),
                                         extras.visibleScreenHeight);
    return model;
}

PopoverModel PopoverModel::build(const PortfolioStore& store, const AppSettings& settings,
                                 const Extras& extras)
{
    const DisplayContext display = DisplayContext::from(settings);
    return build(PortfolioReading::read(store, display.period), display, extras);
}

void PopoverModel::fillHeader(const PortfolioReading& reading, const DisplayContext& display)
{
    const bool isLive = reading.snapshot.isLive;
    title = QStringLiteral("总资产（") + toStored(display.amounts.currency) + QStringLiteral("）");
    showsNotConnected = !isLive;
    timeText = reading.lastUpdatedTime();
    isRefreshing = reading.isRefreshing;
    totalText = isLive ? display.amounts.money(reading.snapshot.totalValue) : QStringLiteral("—");
    totalTint = changeTintOf(reading.displayedChangePercent);
    if (reading.displayedPnL && reading.displayedChangePercent) {
        periodLine = DisplayContext::periodWord(display.period) + u' ' +
                     display.amounts.performanceSummary(*reading.displayedPnL,
                                                        *reading.displayedChangePercent);
        periodLineTint = changeTintOf(*reading.displayedChangePercent);
    }
}

void PopoverModel::fillPositions(const PortfolioReading& reading, const DisplayContext& display)
{
    const std::vector<Position>& positions = reading.snapshot.positions;
    positionCountText = QString::number(positions.size());
    sortMode = display.sortMode;
    sortShortText = PositionSortTexts::shortText(display.sortMode);
    positionRows.reserve(positions.size());
    for (const Position& position : PositionSorting::sorted(positions, display.sortMode)) {
        positionRows.push_back(PopoverPositionRow::make(position, display.amounts));
    }
}

PopoverModel::ExchangeCard PopoverModel::card(Exchange exchange, const PortfolioReading& reading,
                                              const AmountTexts& amounts)
{
    ExchangeCard card;
    card.exchange = exchange;
    card.name = toStored(exchange);
    const ExchangeRefreshStatus::State state = reading.status(exchange).state;
    const ExchangeAccount* account = reading.account(exchange);
    if (!account) {
        card.status = unavailableStatus(state);
        return card;
    }
    card.hasData = true;
    card.totalText = amounts.money(account->totalValue);
    card.totalTint = changeTintOf(account->dailyChangePercent);
    if (account->dailyChangePercent) {
        card.changeText = AmountTexts::percent(*account->dailyChangePercent);
        card.changeTint = changeTintOf(*account->dailyChangePercent);
    }
    for (const AccountBreakdown& breakdown : account->accounts) {
        card.accountRows.push_back(AccountRow::make(breakdown, amounts));
    }
    card.status = statusLine(state);
    return card;
}

std::optional<StatusLabel> PopoverModel::statusLine(const ExchangeRefreshStatus::State& state)
{
    switch (state.kind) {
        case Kind::failed:
            return StatusLabel{QStringLiteral("更新失败 · 保留上次数据"),
                               QStringLiteral("exclamationmark.triangle.fill"), Tone::red};
        case Kind::unconfigured:
            return notConfigured();
        case Kind::connecting:
        case Kind::connected:
            break;
    }
    return std::nullopt;
}

StatusLabel PopoverModel::unavailableStatus(const ExchangeRefreshStatus::State& state)
{
    switch (state.kind) {
        case Kind::unconfigured:
            return notConfigured();
        case Kind::connecting:
            return {QStringLiteral("正在连接…"), QStringLiteral("arrow.triangle.2.circlepath"),
                    Tone::orange};
        case Kind::connected:
            return {QStringLiteral("暂无账户资产"), QStringLiteral("tray"), Tone::secondary};
        case Kind::failed:
            break;
    }
    return {QStringLiteral("连接失败 · 查看设置"), QStringLiteral("exclamationmark.triangle.fill"),
            Tone::red};
}

}  // namespace vantrell
