// The settings form over a staged portfolio, a real update checker and a held permission prompt.

#include "services/NullUpdateUserDriver.h"
#include "services/UpdateChecker.h"
#include "settings/ViewPreferences.h"
#include "support/ManualGate.h"
#include "support/StagedPortfolio.h"
#include "views/kit/SegmentedControl.h"
#include "views/settings/AlertSettingsSection.h"
#include "views/settings/SettingsForm.h"
#include "views/settings/SettingsFormRules.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <deque>
#include <memory>

using namespace vantrell;
using namespace vantrell::test;

namespace {

// Answers permission requests only when the test says so, oldest first.
class HeldAuthorizer final : public Notifier {
public:
    void post(const QString&, const QString&) override {}
    QCoro::Task<bool> requestAuthorization() override
    {
        m_pending.push_back({std::make_shared<ManualGate>(), std::make_shared<bool>(false)});
        return wait(m_pending.back().gate, m_pending.back().granted);
    }
    void answer(bool granted)
    {
        ASSERT_FALSE(m_pending.empty());
        Pending next = m_pending.front();
        m_pending.pop_front();
        *next.granted = granted;
        next.gate->open();
    }
    std::size_t pending() const { return m_pending.size(); }

private:
    struct Pending {
        std::shared_ptr<ManualGate> gate;
        std::shared_ptr<bool> granted;
    };
    static QCoro::Task<bool> wait(std::shared_ptr<ManualGate> gate, std::shared_ptr<bool> granted)
    {
        co_await gate->opened();
        co_return *granted;
    }
    std::deque<Pending> m_pending;
};

class SettingsFormTest : public ::testing::Test {
protected:
    SettingsFormTest()
        : checker(UpdaterEnvironment{staged.transport, staged.defaults, staged.clock, dialogs,
                                     QUrl(QStringLiteral("https://updates.example.com/feed"))}),
          preferences(staged.defaults)
    {
        QCoreApplication::processEvents();  // the checker's mirrors
    }

    std::unique_ptr<SettingsForm> makeForm()
    {
        return std::make_unique<SettingsForm>(staged.settings(), staged.store(), checker,
                                              preferences, authorizer);
    }

    template <typename T>
    static T* child(QWidget& form, const char* name)
    {
        T* found = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void pick(QWidget& form, const char* control, int index)
    {
        QTest::mouseClick(child<SegmentedControl>(form, control)->segment(index), Qt::LeftButton);
    }
    static QStringList items(QComboBox* box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i) {
            texts << box->itemText(i);
        }
        return texts;
    }
    QTimer* refreshTimer() { return staged.store().findChild<QTimer*>(u"refreshTimer"_qs); }
    bool notice(QWidget& form)
    {
        return !child<QLabel>(form, "permissionDeniedNotice")->isHidden();
    }

    StagedPortfolio staged;
    NullUpdateUserDriver dialogs;
    UpdateChecker checker;
    ViewPreferences preferences;
    HeldAuthorizer authorizer;
};

TEST_F(SettingsFormTest, OnShowTheMenuBarFallsBackToTheTotalForAnUnconfiguredExchange)
{
    staged.stage(Exchange::binance, "100");
    const struct {
        MenuBarDisplayMode stored;
        MenuBarDisplayMode shown;
    } cases[] = {{MenuBarDisplayMode::okx, MenuBarDisplayMode::total},
                 {MenuBarDisplayMode::binance, MenuBarDisplayMode::binance},
                 {MenuBarDisplayMode::iconOnly, MenuBarDisplayMode::iconOnly},
                 {MenuBarDisplayMode::totalWithChange, MenuBarDisplayMode::totalWithChange}};
    for (const auto& c : cases) {
        staged.settings().setMenuBarDisplayMode(c.stored);
        auto form = makeForm();
        EXPECT_EQ(staged.settings().menuBarDisplayMode(), c.stored) << "nothing before show";
        form->show();
        EXPECT_EQ(staged.settings().menuBarDisplayMode(), c.shown)
            << toStored(c.stored).toStdString();
        EXPECT_EQ(child<QComboBox>(*form, "menuBarModePicker")->currentText(),
                  SettingsFormRules::label(c.shown));
    }
}

TEST_F(SettingsFormTest, MenuBarModesAreOfferedOnlyForConfiguredExchanges)
{
    staged.stage(Exchange::binance, "100");
    staged.stage(Exchange::gateio, "5");
    auto form = makeForm();
    form->show();
    EXPECT_EQ(items(child<QComboBox>(*form, "menuBarModePicker")),
              QStringList({u"总资产"_qs, u"Binance 资产"_qs, u"Gate.io 资产"_qs,
                           u"总资产 + 收益"_qs, u"仅图标"_qs}));
}

TEST_F(SettingsFormTest, AnOpenPickerKeepsItsListAndHighlightThroughARefresh)
{
    staged.stage(Exchange::binance, "100");
    staged.stage(Exchange::okx, "50");
    auto form = makeForm();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    auto* picker = child<QComboBox>(*form, "menuBarModePicker");
    picker->showPopup();
    QAbstractItemView* list = picker->view();
    ASSERT_TRUE(list->isVisible());
    const QStringList offered = items(picker);
    list->setCurrentIndex(picker->model()->index(2, 0));

    staged.refresh();
    QCoreApplication::processEvents();
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->currentIndex().row(), 2) << "the highlighted choice";
    EXPECT_EQ(items(picker), offered);
    EXPECT_EQ(picker->currentIndex(), 0);
    EXPECT_EQ(staged.settings().menuBarDisplayMode(), MenuBarDisplayMode::total);
    picker->hidePopup();
}

TEST_F(SettingsFormTest, TheModesOfferedFollowConfigurationOnlyWhileShown)
{
    staged.stage(Exchange::binance, "100");
    staged.settings().setMenuBarDisplayMode(MenuBarDisplayMode::binance);
    auto form = makeForm();
    form->show();
    auto* picker = child<QComboBox>(*form, "menuBarModePicker");

    staged.stage(Exchange::bybit, "7");  // configured as of the next cycle's statuses
    staged.refresh();
    EXPECT_EQ(items(picker), QStringList({u"总资产"_qs, u"Binance 资产"_qs, u"Bybit 资产"_qs,
                                          u"总资产 + 收益"_qs, u"仅图标"_qs}));
    EXPECT_EQ(picker->currentText(), u"Binance 资产") << "the stored mode stays chosen";

    form->hide();
    staged.stage(Exchange::gateio, "3");
    staged.refresh();
    EXPECT_FALSE(items(picker).contains(u"Gate.io 资产"_qs)) << "a hidden form waits";
    form->show();
    EXPECT_TRUE(items(picker).contains(u"Gate.io 资产"_qs)) << "and is current once shown";
    EXPECT_EQ(picker->currentText(), u"Binance 资产");
}

TEST_F(SettingsFormTest, TheIntervalReachesTheStoreOnlyWhenItDiffers)
{
    auto form = makeForm();
    form->show();
    EXPECT_EQ(staged.store().refreshInterval(), 10);
    EXPECT_EQ(refreshTimer(), nullptr) << "the store already held 10 seconds";

    pick(*form, "refreshIntervalControl", 2);
    EXPECT_EQ(staged.settings().refreshInterval(), RefreshInterval::thirty);
    EXPECT_EQ(staged.store().refreshInterval(), 30);
    ASSERT_NE(refreshTimer(), nullptr);
    EXPECT_EQ(refreshTimer()->interval(), 30'000);

    staged.store().setRefreshInterval(60);  // held by the store, timer not restarted
    pick(*form, "refreshIntervalControl", 3);
    EXPECT_EQ(refreshTimer()->interval(), 30'000) << "equal interval: the timer is left alone";

    form->hide();
    staged.settings().setRefreshInterval(RefreshInterval::five);
    staged.store().setRefreshInterval(60);
    form->show();
    EXPECT_EQ(refreshTimer()->interval(), 5'000) << "pushed again on show";
}

TEST_F(SettingsFormTest, PermissionDeniedShowsTheNoticeAndAStaleAnswerIsDropped)
{
    auto form = makeForm();
    form->show();
    auto* alerts = child<QCheckBox>(*form, "alertsEnabledToggle");
    EXPECT_TRUE(child<QWidget>(*form, "alertFields")->isHidden());

    alerts->click();
    EXPECT_TRUE(preferences.alertsEnabled());
    EXPECT_FALSE(child<QWidget>(*form, "alertFields")->isHidden());
    authorizer.answer(false);
    EXPECT_TRUE(notice(*form));
    EXPECT_TRUE(alerts->isChecked()) << "a refusal never undoes the switch";

    alerts->click();  // off: the notice goes
    EXPECT_FALSE(notice(*form));

    alerts->click();  // on, and off again before the answer comes
    alerts->click();
    authorizer.answer(false);
    EXPECT_FALSE(notice(*form)) << "the answer arrived while alerts were off";

    alerts->click();  // two requests: only the newer one counts
    preferences.setAlertsEnabled(false);
    preferences.setAlertsEnabled(true);
    ASSERT_EQ(authorizer.pending(), 2u);
    authorizer.answer(false);
    EXPECT_FALSE(notice(*form)) << "overtaken by a newer request";
    authorizer.answer(true);
    EXPECT_FALSE(notice(*form));
}

TEST_F(SettingsFormTest, TheCooldownShowsThirtyWhileAbsentAndIsWrittenOnlyWhenChanged)
{
    preferences.setAlertsEnabled(true);
    auto form = makeForm();
    form->show();
    auto* label = child<QLabel>(*form, "alertCooldownLabel");
    EXPECT_EQ(label->text(), u"提醒冷却：30 分钟");
    EXPECT_FALSE(preferences.alertCooldownMinutes().has_value());

    child<QToolButton>(*form, "alertCooldownUp")->click();
    EXPECT_EQ(preferences.alertCooldownMinutes(), 35);
    EXPECT_EQ(label->text(), u"提醒冷却：35 分钟");

    preferences.setAlertCooldownMinutes(2000.7);
    EXPECT_EQ(label->text(), u"提醒冷却：2000 分钟");
    child<QToolButton>(*form, "alertCooldownDown")->click();
    EXPECT_EQ(preferences.alertCooldownMinutes(), 1440);
}

TEST_F(SettingsFormTest, TwoFormsStayInStep)
{
    preferences.setAlertsEnabled(true);
    auto first = makeForm();
    auto second = makeForm();
    first->show();
    second->show();

    child<QCheckBox>(*first, "adjustExternalFlowsToggle")->click();
    EXPECT_TRUE(preferences.adjustExternalFlows());
    EXPECT_TRUE(child<QCheckBox>(*second, "adjustExternalFlowsToggle")->isChecked());

    QTest::keyClicks(child<QLineEdit>(*first, "alertUpperField"), u" 12,5 "_qs);
    EXPECT_EQ(preferences.alertUpperUSD(), u" 12,5 ") << "stored exactly as typed";
    EXPECT_EQ(child<QLineEdit>(*second, "alertUpperField")->text(), u" 12,5 ");
    child<QLineEdit>(*second, "alertUpperField")->clear();
    QTest::keyClick(child<QLineEdit>(*second, "alertUpperField"), Qt::Key_A);
    QTest::keyClick(child<QLineEdit>(*second, "alertUpperField"), Qt::Key_Backspace);
    EXPECT_EQ(preferences.alertUpperUSD(), u"");

    pick(*second, "floatingStyleControl", 1);
    EXPECT_EQ(child<SegmentedControl>(*first, "floatingStyleControl")->currentIndex(), 1);
    child<QComboBox>(*first, "displayCurrencyPicker")->activated(2);
    EXPECT_EQ(staged.settings().displayCurrency(), DisplayCurrency::cny);
    EXPECT_EQ(child<QComboBox>(*second, "displayCurrencyPicker")->currentIndex(), 2);
    EXPECT_EQ(child<QLabel>(*second, "currencyRateDescription")->text(), u"汇率暂未更新");
}

TEST_F(SettingsFormTest, TheUpdateButtonsFollowTheCheckersState)
{
    auto form = makeForm();
    form->show();
    auto* install = child<QPushButton>(*form, "installUpdateButton");
    auto* check = child<QPushButton>(*form, "checkUpdatesButton");
    EXPECT_EQ(child<QLabel>(*form, "updateStatusText")->text(), u"尚未检查");
    EXPECT_TRUE(install->isHidden());
    EXPECT_TRUE(check->isEnabled());

    checker.setState(UpdateChecker::State::updateAvailable(u"2.0"_qs));
    EXPECT_FALSE(install->isHidden());
    EXPECT_EQ(check->text(), u"检查更新");
    EXPECT_EQ(child<QLabel>(*form, "updateStatusText")->text(), u"发现 v2.0");

    checker.setState(UpdateChecker::State::failed(u"<i>无法连接</i>"_qs));
    EXPECT_TRUE(install->isHidden());
    EXPECT_EQ(check->text(), u"重试检查");
    EXPECT_EQ(child<QLabel>(*form, "updateStatusText")->textFormat(), Qt::PlainText);

    staged.transport.setHolding(true);  // the check stays open
    check->click();
    EXPECT_EQ(checker.state(), UpdateChecker::State::checking());
    EXPECT_FALSE(check->isEnabled());
    EXPECT_EQ(child<QLabel>(*form, "updateStatusText")->text(), u"正在检查…");

    child<QCheckBox>(*form, "automaticChecksToggle")->click();
    EXPECT_FALSE(staged.settings().automaticallyChecksForUpdates());
    EXPECT_FALSE(checker.updaterController().updater().automaticallyChecksForUpdates());

    // Let the held check end, so its coroutine does not outlive the test.
    staged.transport.fail("GET", QStringLiteral("/feed"));
    staged.transport.setHolding(false);
    staged.transport.releaseAll();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return checker.state() != UpdateChecker::State::checking(); }, 5000));
}

}  // namespace
