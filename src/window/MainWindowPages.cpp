#include "window/MainWindowPages.h"

#include "security/LocalCredentialStore.h"
#include "views/analytics/AnalyticsPage.h"
#include "views/exchanges/ExchangeManagementPage.h"
#include "views/portfolio/AssetBalancesView.h"
#include "views/portfolio/ExchangeDetailView.h"
#include "views/portfolio/OverviewDashboard.h"
#include "views/portfolio/PositionsListView.h"
#include "window/SceneContents.h"

namespace vantrell {

namespace {

// What a section without a page shows: nothing.
QWidget* emptyPageOf(MainSection section)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("emptyPage.") + rawValue(section));
    return page;
}

}  // namespace

QWidget* MainWindowPages::make(MainSection section, const MainWindowObjects& objects) const
{
    const Factory* factory = nullptr;
    switch (section) {
        case MainSection::overview:
            factory = &overview;
            break;
        case MainSection::binance:
        case MainSection::okx:
        case MainSection::bybit:
        case MainSection::bitget:
        case MainSection::gateio:
            if (exchangeDetail) {
                return exchangeDetail(objects, *exchangeOf(section));
            }
            return emptyPageOf(section);
        case MainSection::exchangeManagement:
            factory = &exchangeManagement;
            break;
        case MainSection::positions:
            factory = &positions;
            break;
        case MainSection::assets:
            factory = &assets;
            break;
        case MainSection::analytics:
            factory = &analytics;
            break;
        case MainSection::settings:
            factory = &settings;
            break;
    }
    return factory != nullptr && *factory ? (*factory)(objects) : emptyPageOf(section);
}

MainWindowPages MainWindowPages::standard()
{
    MainWindowPages pages;
    pages.overview = [](const MainWindowObjects& objects) {
        auto* page = new OverviewDashboard(objects.store, objects.settings);
        // The window puts a page's own actions in its toolbar.
        page->addAction(page->refreshAction());
        return page;
    };
    pages.exchangeDetail = [](const MainWindowObjects& objects, Exchange exchange) {
        return new ExchangeDetailView(objects.store, objects.settings, exchange);
    };
    pages.exchangeManagement = [](const MainWindowObjects& objects) {
        return new ExchangeManagementPage(objects.store, objects.referralLinks,
                                          objects.credentialDefaults);
    };
    pages.positions = [](const MainWindowObjects& objects) {
        return new PositionsListView(objects.store, objects.settings,
                                     LocalCredentialStore(objects.credentialDefaults));
    };
    pages.assets = [](const MainWindowObjects& objects) {
        return new AssetBalancesView(objects.store, objects.settings,
                                     LocalCredentialStore(objects.credentialDefaults));
    };
    pages.analytics = [](const MainWindowObjects& objects) {
        return new AnalyticsPage(objects.store, objects.settings, objects.viewPreferences);
    };
    // The same form as in the settings window.
    pages.settings = [](const MainWindowObjects& objects) {
        return SceneContents::standardSettingsForm(objects.settingsObjects());
    };
    return pages;
}

}  // namespace vantrell
