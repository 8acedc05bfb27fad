#include "store/PortfolioFreshness.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

using State = ExchangeRefreshStatus::State;

const Date now{5000};

ExchangeRefreshStatus status(State state, std::optional<double> age, QString detail = {})
{
    std::optional<Date> lastSuccess;
    if (age) {
        lastSuccess = now.addingSeconds(-*age);
    }
    return {std::move(state), lastSuccess, std::move(detail)};
}

TEST(PortfolioFreshnessTest, OneExchange)
{
    struct Row {
        const char* name;
        ExchangeRefreshStatus status;
        double interval;
        bool fresh;
    };
    const std::vector<Row> rows = {
        {"connected, recent", status(State::connected(), 10), 10, true},
        {"connecting, recent", status(State::connecting(), 10), 10, true},
        {"unconfigured, recent", status(State::unconfigured(), 10), 10, true},
        {"failed, recent", status(State::failed(QString()), 1), 10, false},
        {"warning", status(State::connected(), 1, QStringLiteral("注意")), 10, false},
        {"never", status(State::connected(), std::nullopt), 10, false},
        {"future", status(State::connected(), -100), 10, true},
        {"30 s at 5", status(State::connected(), 30), 5, true},
        {"31 s at 5", status(State::connected(), 31), 5, false},
        {"180 s at 60", status(State::connected(), 180), 60, true},
        {"181 s at 60", status(State::connected(), 181), 60, false},
        {"90 s at 30", status(State::connected(), 90), 30, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PortfolioFreshness::isFresh(row.status, row.interval, now), row.fresh)
            << row.name;
    }
}

TEST(PortfolioFreshnessTest, AllConfiguredExchanges)
{
    PortfolioRefreshState state;
    const std::vector<Exchange> both{Exchange::binance, Exchange::okx};
    EXPECT_FALSE(PortfolioFreshness::hasFreshCompleteData({}, state, 10, now));

    // A warning does not matter as long as the last merged result was complete.
    state.statuses[Exchange::binance] = status(State::connected(), 5, QStringLiteral("注意"));
    state.statuses[Exchange::okx] = status(State::connecting(), 30);
    state.quality = {{Exchange::binance, QString()}, {Exchange::okx, QString()}};
    EXPECT_TRUE(PortfolioFreshness::hasFreshCompleteData(both, state, 10, now));

    const auto without = [&](auto change) {
        PortfolioRefreshState changed = state;
        change(changed);
        return PortfolioFreshness::hasFreshCompleteData(both, changed, 10, now);
    };
    EXPECT_FALSE(without([](auto& s) { s.quality.erase(Exchange::okx); }));
    EXPECT_FALSE(without([](auto& s) { s.quality[Exchange::okx] = QStringLiteral("合约"); }));
    EXPECT_FALSE(without([](auto& s) { s.statuses[Exchange::okx].state = State::unconfigured(); }));
    EXPECT_FALSE(without([](auto& s) { s.statuses[Exchange::okx].state = State::failed({}); }));
    EXPECT_FALSE(without([](auto& s) { s.statuses[Exchange::okx].lastSuccess.reset(); }));
    EXPECT_FALSE(
        without([](auto& s) { s.statuses[Exchange::okx].lastSuccess = now.addingSeconds(-31); }));
}

TEST(PortfolioFreshnessTest, DescriptionLines)
{
    PortfolioRefreshState state;
    state.statuses[Exchange::okx] = status(State::connecting(), std::nullopt);
    state.statuses[Exchange::bybit] = status(State::failed({}), std::nullopt);
    state.statuses[Exchange::bitget] =
        status(State::connected(), std::nullopt, QStringLiteral("注意"));
    const QLocale locale(QStringLiteral("en_US"));
    const QTimeZone utc(QByteArrayLiteral("UTC"));
    EXPECT_EQ(PortfolioFreshness::description(
                  {Exchange::binance, Exchange::okx, Exchange::bybit, Exchange::bitget}, state,
                  locale, utc),
              QStringLiteral("Binance：等待更新 · 尚未更新\nOKX：保留上次数据 · 尚未更新\n"
                             "Bybit：更新失败，保留上次数据 · 尚未更新\nBitget：注意 · 尚未更新"));
    EXPECT_EQ(PortfolioFreshness::description({}, state, locale, utc), QString());

    // 2001-01-01 13:04:05 UTC: hours with the day period, minutes and seconds, no zone.
    const QString time = PortfolioFreshness::timeText(Date{13 * 3600 + 4 * 60 + 5}, locale, utc);
    EXPECT_EQ(time, QStringLiteral("1:04:05 PM"));
    EXPECT_EQ(PortfolioFreshness::stateText(status(State::connected(), 1)), QStringLiteral("正常"));
}

// The last success in the given zone, as the locale writes a time: nothing of the zone left.
TEST(PortfolioFreshnessTest, TimeTextIsTheLocalTimeWithoutItsZone)
{
    const Date lastSuccess{7 * 3600 + 4 * 60 + 5};  // 2001-01-01 07:04:05 UTC
    const QTimeZone eastOfUtc(8 * 3600);
    const std::pair<const char*, const char*> rows[] = {
        {"en_US", "3:04:05 PM"},
        {"zh_CN", "15:04:05"},
        {"zh_TW", "下午3:04:05"},
        {"es_ES", "15:04:05"},
    };
    for (const auto& [locale, expected] : rows) {
        SCOPED_TRACE(locale);
        EXPECT_EQ(PortfolioFreshness::timeText(lastSuccess, QLocale(QString::fromLatin1(locale)),
                                               eastOfUtc),
                  QString::fromUtf8(expected));
    }
}

}  // namespace
