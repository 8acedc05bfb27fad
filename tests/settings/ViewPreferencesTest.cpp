#include "settings/ViewPreferences.h"

#include "platform/MemoryDefaultsStore.h"
#include "settings/Preferences.h"
#include "store/PortfolioAlerts.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <limits>

using namespace vantrell;

namespace {

class ViewPreferencesTest : public ::testing::Test {
protected:
    MemoryDefaultsStore defaults;
    ViewPreferences preferences{defaults};
};

TEST_F(ViewPreferencesTest, AbsentKeysReadAsTheFormsDefaults)
{
    EXPECT_FALSE(preferences.adjustExternalFlows());
    EXPECT_FALSE(preferences.alertsEnabled());
    EXPECT_EQ(preferences.alertUpperUSD(), QString());
    EXPECT_EQ(preferences.alertLowerUSD(), QString());
    EXPECT_EQ(preferences.alertPercent(), QString());
    EXPECT_EQ(preferences.alertCooldownMinutes(), std::nullopt);
    EXPECT_TRUE(defaults.keys().isEmpty());  // reading writes nothing
}

TEST_F(ViewPreferencesTest, ReadsWhatAFileBackedStoreHandsBack)
{
    defaults.setValue(QStringLiteral("adjustExternalFlows"), QStringLiteral("true"));
    defaults.setValue(QStringLiteral("alertCooldownMinutes"), QStringLiteral("45.9"));
    defaults.setValue(QStringLiteral("alertUpperUSD"), QStringLiteral(" 1,000 "));
    EXPECT_TRUE(preferences.adjustExternalFlows());
    EXPECT_EQ(preferences.alertCooldownMinutes(), 45.9);
    EXPECT_EQ(preferences.alertUpperUSD(), QStringLiteral(" 1,000 "));

    defaults.setValue(QStringLiteral("alertCooldownMinutes"), QStringLiteral("soon"));
    EXPECT_EQ(preferences.alertCooldownMinutes(), std::nullopt);
}

TEST_F(ViewPreferencesTest, WritesThroughUnderTheKeysTheStoreReads)
{
    EXPECT_TRUE(preferences.setAlertsEnabled(true));
    EXPECT_TRUE(preferences.setAlertUpperUSD(QStringLiteral("abc")));
    EXPECT_TRUE(preferences.setAlertLowerUSD(QString()));
    EXPECT_TRUE(preferences.setAlertPercent(QStringLiteral("5")));
    EXPECT_TRUE(preferences.setAlertCooldownMinutes(35));
    EXPECT_TRUE(preferences.setAdjustExternalFlows(true));

    EXPECT_EQ(defaults.value(PortfolioAlerts::enabledKey.toString()), QVariant(true));
    EXPECT_EQ(defaults.value(PortfolioAlerts::upperKey.toString()), QVariant(u"abc"_qs));
    EXPECT_EQ(defaults.value(PortfolioAlerts::lowerKey.toString()), QVariant(QString()));
    EXPECT_EQ(defaults.value(PortfolioAlerts::percentKey.toString()), QVariant(u"5"_qs));
    EXPECT_EQ(PortfolioAlerts::cooldownMinutes(
                  defaults.value(PortfolioAlerts::cooldownMinutesKey.toString())),
              35);
    EXPECT_TRUE(readPreference(defaults, preferences::adjustExternalFlows));
}

TEST_F(ViewPreferencesTest, AnnouncesEachChangeOnceWithItsKey)
{
    QStringList keyed;
    QObject::connect(&preferences, &ViewPreferences::valueChanged,
                     [&](const QString& key) { keyed.append(key); });
    int flows = 0;
    int upper = 0;
    QObject::connect(&preferences, &ViewPreferences::adjustExternalFlowsChanged, [&] { ++flows; });
    QObject::connect(&preferences, &ViewPreferences::alertUpperUSDChanged, [&] { ++upper; });

    preferences.setAdjustExternalFlows(true);
    preferences.setAdjustExternalFlows(true);  // written again, but no change
    preferences.setAlertUpperUSD(QStringLiteral("10"));
    EXPECT_EQ(flows, 1);
    EXPECT_EQ(upper, 1);
    EXPECT_EQ(keyed, QStringList({u"adjustExternalFlows"_qs, u"alertUpperUSD"_qs}));

    // The first stored cooldown is a change even when it equals the 30 shown before.
    int cooldown = 0;
    QObject::connect(&preferences, &ViewPreferences::alertCooldownMinutesChanged,
                     [&] { ++cooldown; });
    preferences.setAlertCooldownMinutes(30);
    preferences.setAlertCooldownMinutes(std::numeric_limits<double>::quiet_NaN());
    preferences.setAlertCooldownMinutes(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(cooldown, 2);
}

TEST_F(ViewPreferencesTest, RefusedWriteIsReportedAndNotAnnounced)
{
    int keyed = 0;
    QObject::connect(&preferences, &ViewPreferences::valueChanged, [&] { ++keyed; });
    defaults.setWritesFail(true);
    EXPECT_FALSE(preferences.setAlertsEnabled(true));
    EXPECT_FALSE(preferences.alertsEnabled());
    EXPECT_EQ(keyed, 0);
}

}  // namespace
