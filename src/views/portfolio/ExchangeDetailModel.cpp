#include "views/portfolio/ExchangeDetailModel.h"

#include "settings/AppSettings.h"
#include "settings/PositionSorting.h"
#include "store/PortfolioStore.h"
#include "views/portfolio/BalanceOrdering.h"

#include <algorithm>

namespace vantrell {

const QString ExchangeDetailModel::assetsTitle = QStringLiteral("资产明细");
const QString ExchangeDetailModel::assetsEmptyText = QStringLiteral("暂无非零资产");
const QString ExchangeDetailModel::positionsTitle = QStringLiteral("合约持仓");
const QString ExchangeDetailModel::positionsEmptyText = QStringLiteral("暂无合约持仓");

ExchangeDetailModel ExchangeDetailModel::build(Exchange exchange, const PortfolioReading& reading,
                                               const DisplayContext& display)
{
    ExchangeDetailModel model;
    model.exchange = exchange;
    model.name = toStored(exchange);
    model.status = statusBadge(reading.status(exchange).state);
    model.noAccount = {QStringLiteral("key"), QStringLiteral("暂无账户数据"),
                       QStringLiteral("请在“交易所管理”中配置 ") + model.name + u'。'};
    const ExchangeAccount* account = reading.account(exchange);
    model.hasAccount = account != nullptr;
    if (!account) {
        return model;
    }
    const AmountTexts& amounts = display.amounts;
    model.metrics.push_back({QStringLiteral("总资产"), amounts.money(account->totalValue)});
    for (const AccountBreakdown& breakdown : account->accounts) {
        model.metrics.push_back({toStored(breakdown.type), amounts.money(breakdown.value)});
    }
    model.fillSections(reading, display);
    return model;
}

ExchangeDetailModel ExchangeDetailModel::build(Exchange exchange, const PortfolioStore& store,
                                               const AppSettings& settings)
{
    const DisplayContext display = DisplayContext::from(settings);
    return build(exchange, PortfolioReading::read(store, display.period), display);
}

void ExchangeDetailModel::fillSections(const PortfolioReading& reading,
                                       const DisplayContext& display)
{
    for (const AssetBalance& balance :
         BalanceOrdering::ofExchange(reading.snapshot.balances, exchange)) {
        assetRows.push_back(BalanceRowTexts::forExchangePage(balance, display.amounts));
    }
    std::vector<Position> own;
    std::copy_if(reading.snapshot.positions.begin(), reading.snapshot.positions.end(),
                 std::back_inserter(own),
                 [this](const Position& p) { return p.exchange == exchange; });
    for (const Position& position : PositionSorting::sorted(std::move(own), display.sortMode)) {
        positionRows.push_back(PositionRowTexts::forTable(position, display.amounts));
    }
}

StatusLabel ExchangeDetailModel::statusBadge(const ExchangeRefreshStatus::State& state)
{
    using Kind = ExchangeRefreshStatus::State::Kind;
    using Tone = StatusLabel::Tone;
    switch (state.kind) {
        case Kind::unconfigured:
            return {QStringLiteral("未配置"), QStringLiteral("key"), Tone::secondary};
        case Kind::connecting:
            return {QStringLiteral("更新中"), QStringLiteral("arrow.triangle.2.circlepath"),
                    Tone::orange};
        case Kind::connected:
            return {QStringLiteral("已连接"), QStringLiteral("checkmark.circle.fill"), Tone::green};
        case Kind::failed:
            break;
    }
    return {state.message, QStringLiteral("exclamationmark.triangle.fill"), Tone::red};
}

}  // namespace vantrell
