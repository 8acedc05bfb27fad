#pragma once

#include "models/Date.h"
#include "models/Exchange.h"
#include "models/ExchangeAccount.h"
#include "store/ExchangeRefreshStatus.h"
#include "views/kit/ChangeTint.h"
#include "views/portfolio/AccountRow.h"
#include "views/portfolio/DisplayContext.h"
#include "views/portfolio/PortfolioReading.h"
#include "views/portfolio/PositionRowTexts.h"
#include "views/portfolio/StatusLabel.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

class AppSettings;
class PortfolioStore;

// Every figure and text of the overview page, computed from the store and the settings. The
// page keeps no state: it builds a new model on each change of either.
struct OverviewModel {
    // One card per configured exchange: live with the exchange's first account in the
    // snapshot, else the reason why there is none.
    struct ExchangeCard {
        Exchange exchange = Exchange::binance;
        QString name;
        bool isLive = false;
        // Live cards.
        std::optional<QString> changeText;  // only when the account has a daily change
        ChangeTint changeTint = ChangeTint::gain;
        QString totalText;
        ChangeTint totalTint = ChangeTint::primary;
        // Each account type's share of the total, in the accounts' order; empty (one grey
        // bar) when the total is not above 0.
        std::vector<double> barFractions;
        std::vector<AccountRow> accountRows;
        // Unavailable cards.
        StatusLabel status;

        friend bool operator==(const ExchangeCard&, const ExchangeCard&) = default;
    };

    static const QString title;              // "资产总览"
    static const QString notConnectedBadge;  // "未连接"
    static const QString totalLabel;         // "总资产"
    static const QString emptyHint;  // "添加交易所后，这里将显示你的资产数据。"
    static const QString unavailableNote;  // "不会影响其他交易所更新"
    static const QString positionsTitle;   // "合约持仓"

    bool showsNotConnectedBadge = false;  // also shows emptyHint
    QString lastUpdatedText;              // "最后更新 " + time
    QString refreshButtonText;            // "刷新", "正在刷新" while refreshing
    bool refreshEnabled = true;
    QString trendTitle;  // "24h 资产曲线" or "今日 资产曲线"
    QString totalText;   // "—" while not live
    ChangeTint totalTint = ChangeTint::primary;
    std::optional<QString> periodLine;  // only with both change figures
    ChangeTint periodLineTint = ChangeTint::gain;
    std::vector<double> sparklineValues;
    ChangeTint sparklineTint = ChangeTint::primary;
    std::vector<ExchangeCard> cards;
    std::vector<PositionRowTexts> positionRows;  // in the chosen sort order

    static OverviewModel build(const PortfolioReading& reading, const DisplayContext& display,
                               std::vector<double> trendValues);
    // Reads the store and settings now; the sparkline covers the period up to `now`.
    static OverviewModel build(const PortfolioStore& store, const AppSettings& settings, Date now);

    static ExchangeCard liveCard(const ExchangeAccount& account, const AmountTexts& amounts);
    static StatusLabel unavailableStatus(const ExchangeRefreshStatus::State& state);
    // Segment widths of the composition bar in `width`: fraction × width − 1, at least 2.
    static std::vector<double> segmentWidths(const std::vector<double>& fractions, double width);

private:
    void fillHeader(const PortfolioReading& reading, const DisplayContext& display);
};

}  // namespace vantrell
