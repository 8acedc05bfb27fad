#include "window/MainWindowPages.h"

#include "window/PlaceholderPage.h"
#include "window/SceneContents.h"

namespace vantrell {

namespace {

QWidget* placeholderOf(MainSection section)
{
    return new PlaceholderPage(rawValue(section), sidebarLabel(section));
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
            return placeholderOf(section);
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
    return factory != nullptr && *factory ? (*factory)(objects) : placeholderOf(section);
}

// Each section left unset here shows a placeholder page. To build a real page in, set its
// factory, for example:
//     pages.overview = [](const MainWindowObjects& o) { return new OverviewDashboard(...); };
MainWindowPages MainWindowPages::standard()
{
    MainWindowPages pages;
    pages.overview = nullptr;
    pages.exchangeDetail = nullptr;
    pages.exchangeManagement = nullptr;
    pages.positions = nullptr;
    pages.assets = nullptr;
    pages.analytics = nullptr;
    // The same form as in the settings window.
    pages.settings = [](const MainWindowObjects& objects) {
        return SceneContents::standardSettingsForm(objects.settingsObjects());
    };
    return pages;
}

}  // namespace vantrell
