#include "settings/AppSettings.h"

#include "settings/CurrencyConversion.h"
#include "settings/PositionSorting.h"
#include "settings/Preferences.h"

#include <QMetaObject>
#include <QPointer>

namespace vantrell {

AppSettings::AppSettings(DefaultsStore& defaults, HttpTransport& transport, const Clock& clock,
                         QObject* parent)
    : QObject(parent),
      m_defaults(defaults),
      m_transport(transport),
      m_clock(clock),
      m_appearance(readPreference(defaults, preferences::appearance)),
      m_floatingStyle(readPreference(defaults, preferences::floatingStyle)),
      m_isFloatingLocked(readPreference(defaults, preferences::isFloatingLocked)),
      m_refreshInterval(readPreference(defaults, preferences::refreshInterval)),
      m_menuBarDisplayMode(readPreference(defaults, preferences::menuBarDisplayMode)),
      m_displayCurrency(readPreference(defaults, preferences::displayCurrency)),
      m_positionSortMode(readPreference(defaults, preferences::positionSortMode)),
      m_performancePeriod(readPreference(defaults, preferences::performancePeriod)),
      m_automaticallyChecksForUpdates(
          readPreference(defaults, preferences::automaticallyChecksForUpdates)),
      m_currencyRates(readPreference(defaults, preferences::currencyRates)),
      m_currencyRatesUpdatedAt(readPreference(defaults, preferences::currencyRatesUpdatedAt))
{
    // Queued, so the download starts once the caller has connected to the signals; it is
    // dropped if this object is destroyed first.
    QMetaObject::invokeMethod(
        this, [this] { refreshCurrencyRates(); }, Qt::QueuedConnection);
}

template <typename T>
void AppSettings::assign(T& member, const T& value, const Preference<T>& preference,
                         void (AppSettings::*changed)())
{
    const bool differs = member != value;
    member = value;
    // Written before anyone is told, so a listener that reads the key itself (the refresh
    // cycle reads the interval) sees the new value, and a listener that assigns again leaves
    // the store holding the value it assigned.
    writePreference(m_defaults, preference, value);
    if (differs) {
        Q_EMIT(this->*changed)();
    }
}

void AppSettings::setAppearance(AppearanceMode value)
{
    assign(m_appearance, value, preferences::appearance, &AppSettings::appearanceChanged);
}

void AppSettings::setFloatingStyle(FloatingDisplayStyle value)
{
    assign(m_floatingStyle, value, preferences::floatingStyle, &AppSettings::floatingStyleChanged);
}

void AppSettings::setFloatingLocked(bool value)
{
    assign(m_isFloatingLocked, value, preferences::isFloatingLocked,
           &AppSettings::isFloatingLockedChanged);
}

void AppSettings::setRefreshInterval(RefreshInterval value)
{
    assign(m_refreshInterval, value, preferences::refreshInterval,
           &AppSettings::refreshIntervalChanged);
}

void AppSettings::setMenuBarDisplayMode(MenuBarDisplayMode value)
{
    assign(m_menuBarDisplayMode, value, preferences::menuBarDisplayMode,
           &AppSettings::menuBarDisplayModeChanged);
}

void AppSettings::setDisplayCurrency(DisplayCurrency value)
{
    assign(m_displayCurrency, value, preferences::displayCurrency,
           &AppSettings::displayCurrencyChanged);
}

void AppSettings::setPositionSortMode(PositionSortMode value)
{
    assign(m_positionSortMode, value, preferences::positionSortMode,
           &AppSettings::positionSortModeChanged);
}

void AppSettings::setPerformancePeriod(PerformancePeriod value)
{
    assign(m_performancePeriod, value, preferences::performancePeriod,
           &AppSettings::performancePeriodChanged);
}

void AppSettings::setAutomaticallyChecksForUpdates(bool value)
{
    assign(m_automaticallyChecksForUpdates, value, preferences::automaticallyChecksForUpdates,
           &AppSettings::automaticallyChecksForUpdatesChanged);
}

QCoro::Task<void> AppSettings::refreshCurrencyRates()
{
    // The settings may be gone when the reply arrives; only `self` is used after the wait.
    QPointer<AppSettings> self(this);
    std::optional<CurrencyRates> rates;
    try {
        const HttpResponse response =
            co_await m_transport.perform(ReferenceRates::downloadRequest());
        rates = ReferenceRates::fromResponse(response);
    } catch (const std::exception&) {
        // A failed download leaves the rates in use; the user can ask again.
        co_return;
    }
    if (self && rates) {
        self->applyRates(*rates);
    }
}

void AppSettings::applyRates(const CurrencyRates& rates)
{
    m_currencyRates = rates;
    m_currencyRatesUpdatedAt = m_clock.now();
    writePreference(m_defaults, preferences::currencyRates, m_currencyRates);
    writePreference(m_defaults, preferences::currencyRatesUpdatedAt, m_currencyRatesUpdatedAt);
    // Listeners see the new rates together with their time.
    Q_EMIT currencyRatesChanged();
    Q_EMIT currencyRatesUpdatedAtChanged();
}

std::optional<Decimal> AppSettings::convertedAmount(const Decimal& amountUSD) const
{
    return CurrencyConversion::convert(amountUSD, m_displayCurrency, m_currencyRates);
}

QString AppSettings::performanceSummary(const Decimal& pnlUSD, const Decimal& percent) const
{
    return CurrencyConversion::performanceSummary(pnlUSD, percent, m_displayCurrency,
                                                  m_currencyRates);
}

std::vector<Position> AppSettings::sortedPositions(const std::vector<Position>& positions) const
{
    return PositionSorting::sorted(positions, m_positionSortMode);
}

}  // namespace vantrell
