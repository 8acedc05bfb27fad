#include "views/floating/FloatingViewModel.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "views/kit/MoneyText.h"

namespace vantrell {

namespace {

std::optional<QString> summaryOf(const FloatingViewModel::Inputs& inputs,
                                 const AppSettings& settings)
{
    const QString period = MoneyText::periodLabel(settings.performancePeriod()) + u' ';
    if (!inputs.percent) {
        return std::nullopt;
    }
    if (settings.floatingStyle() == FloatingDisplayStyle::transparent) {
        return period + MoneyText::signedPercent(*inputs.percent);
    }
    if (!inputs.pnl) {
        return std::nullopt;
    }
    return period + settings.performanceSummary(*inputs.pnl, *inputs.percent);
}

FloatingViewModel::ExchangeEntry entryOf(const ExchangeAccount& account, size_t index, bool isLive,
                                         const AppSettings& settings)
{
    FloatingViewModel::ExchangeEntry entry;
    entry.exchange = account.exchange;
    entry.name = toStored(account.exchange);
    entry.amount = MoneyText::amount(settings, account.totalValue, true);
    entry.amountTint = changeTintOf(account.dailyChangePercent);
    if (account.dailyChangePercent) {
        entry.percent = MoneyText::signedPercent(*account.dailyChangePercent);
        entry.percentTint = changeTintOf(account.dailyChangePercent);
    }
    if (!isLive) {
        entry.sparkline = FloatingViewModel::decorativeSparkline(index);
    }
    return entry;
}

}  // namespace

FloatingViewModel::Inputs FloatingViewModel::inputsOf(const PortfolioStore& store,
                                                      const AppSettings& settings)
{
    const PerformancePeriod period = settings.performancePeriod();
    return {store.snapshot().isLive, store.snapshot().totalValue, store.visibleExchangeAccounts(),
            store.displayedPnL(period), store.displayedChangePercent(period)};
}

FloatingViewModel FloatingViewModel::make(const Inputs& inputs, const AppSettings& settings)
{
    FloatingViewModel model;
    model.style = settings.floatingStyle();
    model.total = inputs.isLive ? MoneyText::amount(settings, inputs.totalValue, false)
                                : MoneyText::placeholder();
    model.totalTint = changeTintOf(inputs.percent);
    model.summary = summaryOf(inputs, settings);
    if (inputs.percent) {
        model.summaryTint = changeTintOf(inputs.percent);
    }
    for (size_t i = 0; i < inputs.accounts.size(); ++i) {
        model.entries.push_back(entryOf(inputs.accounts[i], i, inputs.isLive, settings));
    }
    return model;
}

FloatingViewModel FloatingViewModel::make(const PortfolioStore& store, const AppSettings& settings)
{
    return make(inputsOf(store, settings), settings);
}

std::vector<double> FloatingViewModel::decorativeSparkline(size_t index)
{
    if (index == 0) {
        return {1, 3, 2, 5, 4, 8, 7, 10};
    }
    return {1, 4, 3, 6, 5, 7, 6};
}

}  // namespace vantrell
