#include "store/PortfolioAlerts.h"

#include "platform/MemoryDefaultsStore.h"
#include "support/ManualClock.h"
#include "support/RecordingNotifier.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace vantrell;

namespace {

const QString upper = QStringLiteral("资产达到上限");
const QString lower = QStringLiteral("资产达到下限");
const QString change = QStringLiteral("资产变化达到阈值");
using Bodies = std::vector<QString>;

Decimal dec(const char* text)
{
    return *Decimal::parse(std::string_view(text));
}

class ThresholdAlertsTest : public ::testing::Test {
protected:
    void SetUp() override { set("alertsEnabled", true); }

    void set(const char* key, const QVariant& value)
    {
        defaults.setValue(QString::fromLatin1(key), value);
    }

    // The bodies of the notifications this evaluation posted.
    Bodies evaluate(const char* total, std::optional<Decimal> percent = {})
    {
        const std::size_t before = notifier.notifications().size();
        alerts.evaluate(dec(total), percent);
        Bodies bodies;
        for (std::size_t i = before; i < notifier.notifications().size(); ++i) {
            EXPECT_EQ(notifier.notifications()[i].title, QStringLiteral("Vantrell"));
            bodies.push_back(notifier.notifications()[i].body);
        }
        return bodies;
    }

    MemoryDefaultsStore defaults;
    ManualClock clock;
    RecordingNotifier notifier;
    PortfolioAlerts alerts{defaults, clock, notifier};
};

}  // namespace

TEST_F(ThresholdAlertsTest, ConditionIsNotifiedOncePerSpellOfHolding)
{
    set("alertUpperUSD", QStringLiteral("1000"));
    set("alertCooldownMinutes", 1.0);
    EXPECT_EQ(evaluate("1000"), Bodies{upper});
    clock.advance(3600);
    EXPECT_EQ(evaluate("1500"), Bodies{});
    EXPECT_EQ(evaluate("999.99"), Bodies{});  // stops holding: leaves the fired set
    EXPECT_EQ(evaluate("1000"), Bodies{upper});

    // Holding again within the cooldown: held back and retried until the cooldown has passed.
    EXPECT_EQ(evaluate("10"), Bodies{});
    clock.advance(30);
    EXPECT_EQ(evaluate("2000"), Bodies{});
    EXPECT_TRUE(alerts.engine().fired.empty());
    clock.advance(30);
    EXPECT_EQ(evaluate("2000"), Bodies{upper});
}

TEST_F(ThresholdAlertsTest, CooldownIsTheStoredMinutesButNeverBelowOneMinute)
{
    const std::vector<std::pair<QVariant, double>> rows{
        {QVariant(), 1800},  // nothing stored: the 30 minutes the settings form shows
        {30.0, 1800},
        {1.5, 90},
        {0.5, 60},
        {-10.0, 60},
        {QStringLiteral("45"), 2700},  // a settings file hands numbers back as text
        // Unreadable values count as what the form shows for them, not as no cooldown.
        {QStringLiteral("abc"), 1800},
        {QStringLiteral(""), 1800},
        {QVariant(QStringList{QStringLiteral("x")}), 1800},
        {std::numeric_limits<double>::quiet_NaN(), 1800},
        {std::numeric_limits<double>::infinity(), 86'400},
        {-std::numeric_limits<double>::infinity(), 60},
    };
    set("alertLowerUSD", QStringLiteral("100"));
    for (const auto& [stored, seconds] : rows) {
        const QString name = stored.toString();
        defaults.remove(QStringLiteral("alertCooldownMinutes"));
        if (stored.isValid()) {
            set("alertCooldownMinutes", stored);
        }
        clock.advance(100'000);
        ASSERT_EQ(evaluate("50"), Bodies{lower}) << name.toStdString();
        EXPECT_EQ(evaluate("150"), Bodies{});
        clock.advance(seconds - 0.01);
        EXPECT_EQ(evaluate("50"), Bodies{}) << name.toStdString();
        clock.advance(0.01);
        EXPECT_EQ(evaluate("50"), Bodies{lower}) << name.toStdString();
        EXPECT_EQ(evaluate("150"), Bodies{});
    }
}

TEST_F(ThresholdAlertsTest, ConditionsArisingTogetherShareOneNotificationInCodePointOrder)
{
    set("alertUpperUSD", QStringLiteral("100"));
    set("alertLowerUSD", QStringLiteral("200"));
    set("alertPercent", QStringLiteral("5"));
    EXPECT_EQ(evaluate("150", dec("-6")), Bodies{change + u"；" + upper + u"；" + lower});

    set("alertUpperUSD", QStringLiteral("0"));
    set("alertLowerUSD", QStringLiteral("abc"));
    clock.advance(3600);
    EXPECT_EQ(evaluate("150", std::nullopt), Bodies{});
    EXPECT_EQ(evaluate("150", dec("4.99")), Bodies{});
    EXPECT_EQ(evaluate("150", dec("5")), Bodies{change});
}

TEST_F(ThresholdAlertsTest, ChangedThresholdsNotifyAgainButEqualNumbersDoNot)
{
    set("alertUpperUSD", QStringLiteral("5"));
    EXPECT_EQ(evaluate("10"), Bodies{upper});
    clock.advance(7200);
    set("alertUpperUSD", QStringLiteral("5.0"));
    set("alertCooldownMinutes", 1.0);  // the cooldown is not part of the configuration
    EXPECT_EQ(evaluate("10"), Bodies{});
    set("alertUpperUSD", QStringLiteral("6"));
    EXPECT_EQ(evaluate("10"), Bodies{upper});
}

TEST_F(ThresholdAlertsTest, SwitchingAlertsOffStartsOver)
{
    set("alertUpperUSD", QStringLiteral("5"));
    EXPECT_EQ(evaluate("10"), Bodies{upper});
    set("alertsEnabled", false);
    EXPECT_EQ(evaluate("10"), Bodies{});
    EXPECT_TRUE(alerts.engine().fired.empty());
    EXPECT_TRUE(alerts.engine().configuration.empty());
    EXPECT_EQ(alerts.engine().lastAlert, Date::distantPast());
    set("alertsEnabled", true);
    EXPECT_EQ(evaluate("10"), Bodies{upper});  // at once: no cooldown after starting over
}

TEST_F(ThresholdAlertsTest, ThresholdFieldMustBeANumberAsAWhole)
{
    const std::vector<std::pair<QVariant, const char*>> rows{
        {QStringLiteral("1000"), "1000"}, {QStringLiteral("5.0"), "5"},
        {QStringLiteral(" 5 "), "5"},     {QStringLiteral("1e3"), "1000"},
        {QStringLiteral("-3"), "-3"},     {QStringLiteral("1,000"), "0"},
        {QStringLiteral("5%"), "0"},      {QStringLiteral("12abc"), "0"},
        {QStringLiteral("abc"), "0"},     {QStringLiteral(""), "0"},
        {QStringLiteral("inf"), "0"},     {QVariant(), "0"},
        {QVariant(5.5), "5.5"},
    };
    for (const auto& [stored, expected] : rows) {
        EXPECT_EQ(PortfolioAlerts::threshold(stored), dec(expected))
            << stored.toString().toStdString();
    }
    // Read as 1, "1,000" would fire at once on any portfolio; it switches the bound off.
    set("alertUpperUSD", QStringLiteral("1,000"));
    set("alertLowerUSD", QStringLiteral("-5"));
    EXPECT_EQ(evaluate("5"), Bodies{});
    EXPECT_EQ(evaluate("-10"), Bodies{});
}
