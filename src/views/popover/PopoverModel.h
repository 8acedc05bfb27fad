#pragma once

#include "models/Exchange.h"
#include "models/ExchangeAccount.h"
#include "settings/PositionSortMode.h"
#include "store/ExchangeRefreshStatus.h"
#include "views/kit/ChangeTint.h"
#include "views/popover/PopoverPositionRow.h"
#include "views/portfolio/AccountRow.h"
#include "views/portfolio/DisplayContext.h"
#include "views/portfolio/PortfolioReading.h"
#include "views/portfolio/StatusLabel.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

class AppSettings;
class PortfolioStore;

// Everything the tray popover shows, computed from the store, the settings, the update state
// and the floating panel. The popover keeps no state: it builds a new model on each change.
struct PopoverModel {
    // One card per configured exchange.
    struct ExchangeCard {
        Exchange exchange = Exchange::binance;
        QString name;
        bool hasData = false;  // the snapshot holds an account for the exchange
        // Cards with data.
        QString totalText;
        ChangeTint totalTint = ChangeTint::primary;
        std::optional<QString> changeText;
        ChangeTint changeTint = ChangeTint::gain;
        std::vector<AccountRow> accountRows;
        // With data: the line under the accounts, when there is one. Without data: always set.
        std::optional<StatusLabel> status;

        friend bool operator==(const ExchangeCard&, const ExchangeCard&) = default;
    };

    // What the popover needs besides the store and the settings.
    struct Extras {
        std::optional<QString> availableVersion;  // set while an update is known
        bool isFloatingVisible = false;
        std::optional<int> visibleScreenHeight;  // nothing without a screen
    };

    static const QString notConnectedText;    // "未连接"
    static const QString refreshTooltip;      // "刷新"
    static const QString settingsTooltip;     // "设置"
    static const QString quitTooltip;         // "退出"
    static const QString positionsTitle;      // "合约持仓"
    static const QString noPositionsText;     // "暂无合约持仓"
    static const QString openMainWindowText;  // "打开主窗口"

    QString title;  // "总资产（USD）"
    bool showsNotConnected = false;
    QString timeText;
    bool isRefreshing = false;  // spins the refresh icon and disables the button
    QString totalText;          // "—" while not live
    ChangeTint totalTint = ChangeTint::primary;
    std::optional<QString> periodLine;  // only with both change figures
    ChangeTint periodLineTint = ChangeTint::gain;
    std::vector<ExchangeCard> cards;
    QString positionCountText;  // all positions of the snapshot
    PositionSortMode sortMode = PositionSortMode::defaultOrder;
    QString sortShortText;
    std::vector<PopoverPositionRow> positionRows;  // in the chosen order; empty: noPositionsText
    std::optional<QString> bannerText;             // "发现新版本 v1.2 · 安装"
    QString floatingActionText;                    // "打开悬浮窗" / "关闭悬浮窗"
    int height = 0;

    static PopoverModel build(const PortfolioReading& reading, const DisplayContext& display,
                              const Extras& extras);
    static PopoverModel build(const PortfolioStore& store, const AppSettings& settings,
                              const Extras& extras);

    static ExchangeCard card(Exchange exchange, const PortfolioReading& reading,
                             const AmountTexts& amounts);
    // The line under a card with data: only a failure or a missing configuration says something.
    static std::optional<StatusLabel> statusLine(const ExchangeRefreshStatus::State& state);
    // The state of a card without data.
    static StatusLabel unavailableStatus(const ExchangeRefreshStatus::State& state);

private:
    void fillHeader(const PortfolioReading& reading, const DisplayContext& display);
    void fillPositions(const PortfolioReading& reading, const DisplayContext& display);
};

}  // namespace vantrell
