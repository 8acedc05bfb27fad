// The settings form, the exchange management page and the credential sheet, light and dark.

#include "platform/NullNotifier.h"
#include "security/LocalCredentialStore.h"
#include "services/NullUpdateUserDriver.h"
#include "services/ReferralLinkStore.h"
#include "services/UpdateChecker.h"
#include "settings/ViewPreferences.h"
#include "support/StagedPortfolio.h"
#include "support/ui/Screenshot.h"
#include "support/ui/ScreenshotScenes.h"
#include "views/exchanges/ExchangeCredentialSheet.h"
#include "views/exchanges/ExchangeManagementPage.h"
#include "views/kit/WindowAppearanceBridge.h"
#include "views/settings/SettingsForm.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

using namespace vantrell;
using namespace vantrell::test;

namespace {

const QString referralPath = QStringLiteral("/referrals.json");

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

QString suffix(AppearanceMode mode)
{
    return mode == AppearanceMode::dark ? QStringLiteral("-dark") : QStringLiteral("-light");
}

QImage settingsScene(AppearanceMode mode, bool alertsOn)
{
    StagedPortfolio staged;
    staged.stage(Exchange::binance, "12500.40");
    staged.stage(Exchange::okx, "8320.15");
    staged.settings().setDisplayCurrency(DisplayCurrency::cny);
    NullUpdateUserDriver dialogs;
    UpdateChecker checker(
        UpdaterEnvironment{staged.transport, staged.defaults, staged.clock, dialogs, QUrl()});
    ViewPreferences preferences(staged.defaults);
    preferences.setAlertsEnabled(alertsOn);
    preferences.setAlertUpperUSD(QStringLiteral("30000"));
    NullNotifier notifier;
    SettingsForm form(staged.settings(), staged.store(), checker, preferences, notifier);
    WindowAppearanceBridge::apply(&form, mode);
    form.resize(500, form.widget()->sizeHint().height() + 4);
    form.show();
    settle();
    return Screenshot::grab(form);
}

QImage exchangesScene(AppearanceMode mode)
{
    StagedPortfolio staged;
    staged.stage(Exchange::binance, "12500.40");
    staged.stage(Exchange::okx, "8320.15");
    staged.stageFailure(Exchange::bybit, QStringLiteral("Invalid API-key"));
    LocalCredentialStore(staged.defaults)
        .saveAccount(
            {AdditionalExchangeAccount::newID(), Exchange::okx, QStringLiteral("套利账户")});
    staged.refresh();
    staged.transport.respond(
        "GET", referralPath,
        FakeHttpTransport::json(200, R"({"schemaVersion": 1, "updatedAt": "2024-05-01",
            "exchanges": [{"id": "binance", "enabled": true, "sort": 1,
                           "referralURL": "https://join.example/b"},
                          {"id": "bitget", "enabled": true, "sort": 2,
                           "referralURL": "https://join.example/g"}]})"));
    ReferralLinkStore referrals(staged.defaults, staged.transport,
                                QUrl(u"https://config.example" + referralPath));
    ExchangeManagementPage page(staged.store(), referrals, staged.defaults);
    page.setUrlOpener([](const QUrl&) {});
    WindowAppearanceBridge::apply(&page, mode);
    page.resize(640, 560);
    page.show();
    settle();
    return Screenshot::grab(page);
}

QImage sheetScene(AppearanceMode mode, bool withError)
{
    StagedPortfolio staged;
    ExchangeCredentialSheet sheet(staged.store(), staged.defaults, Exchange::okx, std::nullopt);
    WindowAppearanceBridge::apply(&sheet, mode);
    sheet.show();
    if (withError) {
        // Nothing answers for OKX here, so the test fails with the store's message.
        sheet.findChild<QLineEdit*>(QStringLiteral("apiKeyField"))->setText(QStringLiteral("k"));
        sheet.findChild<QLineEdit*>(QStringLiteral("secretKeyField"))->setText(QStringLiteral("s"));
        sheet.findChild<QLineEdit*>(QStringLiteral("passphraseField"))
            ->setText(QStringLiteral("p"));
        sheet.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    }
    settle();
    return Screenshot::grab(sheet);
}

bool registerSettingsScenes()
{
    for (AppearanceMode mode : {AppearanceMode::light, AppearanceMode::dark}) {
        ScreenshotScenes::add(u"settings-form" + suffix(mode),
                              [=] { return settingsScene(mode, false); });
        ScreenshotScenes::add(u"settings-form-alerts" + suffix(mode),
                              [=] { return settingsScene(mode, true); });
        ScreenshotScenes::add(u"exchange-management" + suffix(mode),
                              [=] { return exchangesScene(mode); });
        ScreenshotScenes::add(u"credential-sheet-empty" + suffix(mode),
                              [=] { return sheetScene(mode, false); });
        ScreenshotScenes::add(u"credential-sheet-error" + suffix(mode),
                              [=] { return sheetScene(mode, true); });
    }
    return true;
}

const bool registered = registerSettingsScenes();

}  // namespace
