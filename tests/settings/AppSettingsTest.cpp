#include "settings/AppSettings.h"

#include "platform/MemoryDefaultsStore.h"
#include "platform/SettingsDefaultsStore.h"
#include "support/FakeHttpTransport.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <memory>
#include <vector>

using namespace vantrell;

namespace {

const QString ratesPath = QStringLiteral("/stats/eurofxref/eurofxref-daily.xml");

class AppSettingsTest : public ::testing::Test {
protected:
    // The start-up download fails unless a test answers it.
    void SetUp() override { transport.fail("GET", ratesPath); }

    std::unique_ptr<AppSettings> makeSettings(DefaultsStore& store)
    {
        auto settings = std::make_unique<AppSettings>(store, transport, clock);
        QCoreApplication::processEvents();  // lets the start-up download run
        return settings;
    }

    MemoryDefaultsStore defaults;
    FakeHttpTransport transport;
    ManualClock clock;
};

struct PreferenceRow {
    const char* property;
    QString key;
    QVariant defaultValue;
};

// Every preference, its key and its default, as the views see them through the properties.
const std::vector<PreferenceRow> preferenceRows = {
    {"appearance", "appearanceMode", QVariant::fromValue(AppearanceMode::system)},
    {"floatingStyle", "floatingDisplayStyle", QVariant::fromValue(FloatingDisplayStyle::full)},
    {"isFloatingLocked", "isFloatingLocked", false},
    {"refreshInterval", "refreshInterval", QVariant::fromValue(RefreshInterval::ten)},
    {"menuBarDisplayMode", "menuBarDisplayMode", QVariant::fromValue(MenuBarDisplayMode::total)},
    {"displayCurrency", "displayCurrency", QVariant::fromValue(DisplayCurrency::usd)},
    {"positionSortMode", "positionSortMode", QVariant::fromValue(PositionSortMode::defaultOrder)},
    {"performancePeriod", "performancePeriod",
     QVariant::fromValue(PerformancePeriod::twentyFourHours)},
    {"automaticallyChecksForUpdates", "automaticallyChecksForUpdates", true},
};

}  // namespace

TEST_F(AppSettingsTest, EmptyStoreGivesDefaultsAndStaysEmpty)
{
    const auto settings = makeSettings(defaults);
    for (const PreferenceRow& row : preferenceRows) {
        EXPECT_EQ(settings->property(row.property), row.defaultValue) << row.property;
    }
    EXPECT_TRUE(settings->currencyRates().isEmpty());
    EXPECT_FALSE(settings->currencyRatesUpdatedAt());
    EXPECT_TRUE(defaults.keys().isEmpty());
    EXPECT_EQ(transport.requestCount("GET", ratesPath), 1);
}

TEST_F(AppSettingsTest, ReadsStoredValuesAndKeepsUnknownOnes)
{
    struct Row {
        const char* property;
        QString key;
        QVariant stored;
        QVariant expected;
    };
    auto v = [](auto value) { return QVariant::fromValue(value); };
    // Strings as a file-backed store hands numbers and Booleans back after a restart.
    const std::vector<Row> rows = {
        {"appearance", "appearanceMode", "dark", v(AppearanceMode::dark)},
        {"appearance", "appearanceMode", "Dark", v(AppearanceMode::system)},
        {"floatingStyle", "floatingDisplayStyle", "transparent",
         v(FloatingDisplayStyle::transparent)},
        {"floatingStyle", "floatingDisplayStyle", 1, v(FloatingDisplayStyle::full)},
        {"isFloatingLocked", "isFloatingLocked", true, true},
        {"isFloatingLocked", "isFloatingLocked", "true", true},
        {"isFloatingLocked", "isFloatingLocked", "1", true},
        {"refreshInterval", "refreshInterval", 30.0, v(RefreshInterval::thirty)},
        {"refreshInterval", "refreshInterval", qlonglong(5), v(RefreshInterval::five)},
        {"refreshInterval", "refreshInterval", "60", v(RefreshInterval::sixty)},
        {"refreshInterval", "refreshInterval", 15.0, v(RefreshInterval::ten)},
        {"refreshInterval", "refreshInterval", 30.5, v(RefreshInterval::ten)},
        {"refreshInterval", "refreshInterval", "thirty", v(RefreshInterval::ten)},
        {"menuBarDisplayMode", "menuBarDisplayMode", "gateio", v(MenuBarDisplayMode::gateio)},
        {"menuBarDisplayMode", "menuBarDisplayMode", "totalWithChange",
         v(MenuBarDisplayMode::totalWithChange)},
        {"menuBarDisplayMode", "menuBarDisplayMode", "GATEIO", v(MenuBarDisplayMode::total)},
        {"displayCurrency", "displayCurrency", "CNY", v(DisplayCurrency::cny)},
        {"displayCurrency", "displayCurrency", "cny", v(DisplayCurrency::usd)},
        {"displayCurrency", "displayCurrency", QByteArray("CNY"), v(DisplayCurrency::usd)},
        {"positionSortMode", "positionSortMode", "pnlAscending", v(PositionSortMode::pnlAscending)},
        {"positionSortMode", "positionSortMode", "byValue", v(PositionSortMode::defaultOrder)},
        {"performancePeriod", "performancePeriod", "today", v(PerformancePeriod::today)},
        {"performancePeriod", "performancePeriod", "Today", v(PerformancePeriod::twentyFourHours)},
        {"automaticallyChecksForUpdates", "automaticallyChecksForUpdates", false, false},
        {"automaticallyChecksForUpdates", "automaticallyChecksForUpdates", "false", false},
        {"automaticallyChecksForUpdates", "automaticallyChecksForUpdates", "0", false},
        {"automaticallyChecksForUpdates", "automaticallyChecksForUpdates", "maybe", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key.toStdString() + " = " + row.stored.toString().toStdString());
        MemoryDefaultsStore store;
        store.setValue(row.key, row.stored);
        const auto settings = makeSettings(store);
        EXPECT_EQ(settings->property(row.property), row.expected);
        // Reading never rewrites: the stored value stays until the user picks another one.
        EXPECT_EQ(store.value(row.key), row.stored);
        EXPECT_EQ(store.keys().size(), 1);
    }
}

TEST_F(AppSettingsTest, ReadsStoredRatesAndTime)
{
    const QDateTime updatedAt = clock.now().toDateTime();
    defaults.setValue("currencyRates", QVariantMap{{"USD", "1.08"}, {"CNY", "7.8"}});
    defaults.setValue("currencyRatesUpdatedAt", updatedAt);
    auto settings = makeSettings(defaults);
    EXPECT_EQ(settings->currencyRates().value("USD"), Decimal(108) / Decimal(100));
    EXPECT_EQ(settings->currencyRates().size(), 2);
    EXPECT_EQ(settings->currencyRatesUpdatedAt(), clock.now());

    // A time that is not a date object reads as none.
    defaults.setValue("currencyRatesUpdatedAt", updatedAt.toString(Qt::ISODate));
    settings = makeSettings(defaults);
    EXPECT_FALSE(settings->currencyRatesUpdatedAt());
}

TEST_F(AppSettingsTest, EveryAssignmentWritesEvenTheValueHeld)
{
    struct Row {
        const char* property;
        QString key;
        QVariant value;
        QVariant stored;
    };
    auto v = [](auto value) { return QVariant::fromValue(value); };
    const std::vector<Row> rows = {
        {"appearance", "appearanceMode", v(AppearanceMode::system), "system"},
        {"floatingStyle", "floatingDisplayStyle", v(FloatingDisplayStyle::full), "full"},
        {"isFloatingLocked", "isFloatingLocked", false, false},
        {"refreshInterval", "refreshInterval", v(RefreshInterval::ten), 10.0},
        {"menuBarDisplayMode", "menuBarDisplayMode", v(MenuBarDisplayMode::total), "total"},
        {"displayCurrency", "displayCurrency", v(DisplayCurrency::usd), "USD"},
        {"positionSortMode", "positionSortMode", v(PositionSortMode::defaultOrder), "defaultOrder"},
        {"performancePeriod", "performancePeriod", v(PerformancePeriod::twentyFourHours),
         "twentyFourHours"},
        {"automaticallyChecksForUpdates", "automaticallyChecksForUpdates", true, true},
    };
    const auto settings = makeSettings(defaults);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.property);
        for (int attempt = 0; attempt < 2; ++attempt) {
            defaults.remove(row.key);
            ASSERT_TRUE(settings->setProperty(row.property, row.value));
            const QVariant stored = defaults.value(row.key);
            EXPECT_EQ(stored.typeId(), row.stored.typeId());
            EXPECT_EQ(stored, row.stored);
        }
    }
}

TEST_F(AppSettingsTest, AssignmentReplacesAnUnknownStoredValue)
{
    defaults.setValue("refreshInterval", 15.0);
    const auto settings = makeSettings(defaults);
    EXPECT_EQ(settings->refreshInterval(), RefreshInterval::ten);
    settings->setRefreshInterval(RefreshInterval::ten);
    EXPECT_EQ(defaults.value("refreshInterval"), QVariant(10.0));
}

TEST_F(AppSettingsTest, SignalsChangesAfterWriting)
{
    const auto settings = makeSettings(defaults);
    int emitted = 0;
    QVariant storedWhenTold;
    QObject::connect(settings.get(), &AppSettings::displayCurrencyChanged, [&] {
        ++emitted;
        storedWhenTold = defaults.value("displayCurrency");
    });
    settings->setDisplayCurrency(DisplayCurrency::hkd);
    EXPECT_EQ(emitted, 1);
    EXPECT_EQ(storedWhenTold, QVariant("HKD"));
    EXPECT_EQ(settings->displayCurrency(), DisplayCurrency::hkd);

    // The same value again is written but changes nothing a listener could see.
    defaults.remove("displayCurrency");
    settings->setDisplayCurrency(DisplayCurrency::hkd);
    EXPECT_EQ(emitted, 1);
    EXPECT_EQ(defaults.value("displayCurrency"), QVariant("HKD"));
}

TEST_F(AppSettingsTest, ConversionFollowsDisplayCurrencyAndSortFollowsMode)
{
    defaults.setValue("currencyRates", QVariantMap{{"USD", "1.25"}, {"CNY", "8"}});
    const auto settings = makeSettings(defaults);
    EXPECT_EQ(settings->convertedAmount(100), Decimal(100));
    settings->setDisplayCurrency(DisplayCurrency::cny);
    EXPECT_EQ(settings->convertedAmount(100), Decimal(640));
    settings->setDisplayCurrency(DisplayCurrency::hkd);
    EXPECT_EQ(settings->convertedAmount(100), std::nullopt);
    EXPECT_EQ(settings->performanceSummary(5, 0), QStringLiteral("+—  (0.00%)"));

    std::vector<Position> positions(2);
    positions[0].unrealizedPnL = -1;
    positions[1].unrealizedPnL = 1;
    settings->setPositionSortMode(PositionSortMode::pnlDescending);
    const std::vector<Position> sorted = settings->sortedPositions(positions);
    EXPECT_EQ(sorted[0].unrealizedPnL, Decimal(1));
    EXPECT_EQ(positions[0].unrealizedPnL, Decimal(-1));  // the input is left alone
}

TEST_F(AppSettingsTest, EverythingSurvivesARestartWithTheSettingsFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("Vantrell.conf");
    transport.respond("GET", ratesPath,
                      FakeHttpTransport::json(200,
                                              "<Cube currency='USD' rate='1.08'/>"
                                              "<Cube currency='CNY' rate='7.8'/>"
                                              "<Cube currency='HKD' rate='8.5'/>"));
    {
        SettingsDefaultsStore store(path);
        const auto settings = makeSettings(store);
        ASSERT_TRUE(settings->currencyRatesUpdatedAt());
        settings->setAppearance(AppearanceMode::dark);
        settings->setFloatingStyle(FloatingDisplayStyle::compact);
        settings->setFloatingLocked(true);
        settings->setRefreshInterval(RefreshInterval::sixty);
        settings->setMenuBarDisplayMode(MenuBarDisplayMode::iconOnly);
        settings->setDisplayCurrency(DisplayCurrency::eur);
        settings->setPositionSortMode(PositionSortMode::valueAscending);
        settings->setPerformancePeriod(PerformancePeriod::today);
        settings->setAutomaticallyChecksForUpdates(false);
    }
    transport.fail("GET", ratesPath);
    SettingsDefaultsStore store(path);
    const auto settings = makeSettings(store);
    EXPECT_EQ(settings->appearance(), AppearanceMode::dark);
    EXPECT_EQ(settings->floatingStyle(), FloatingDisplayStyle::compact);
    EXPECT_TRUE(settings->isFloatingLocked());
    EXPECT_EQ(settings->refreshInterval(), RefreshInterval::sixty);
    EXPECT_EQ(settings->menuBarDisplayMode(), MenuBarDisplayMode::iconOnly);
    EXPECT_EQ(settings->displayCurrency(), DisplayCurrency::eur);
    EXPECT_EQ(settings->positionSortMode(), PositionSortMode::valueAscending);
    EXPECT_EQ(settings->performancePeriod(), PerformancePeriod::today);
    EXPECT_FALSE(settings->automaticallyChecksForUpdates());
    EXPECT_EQ(settings->currencyRates().size(), 4);
    EXPECT_EQ(settings->currencyRatesUpdatedAt(), clock.now());
    EXPECT_EQ(settings->convertedAmount(108), Decimal(100));
}
