// The exchange management page over a real PortfolioStore and referral store.

#include "networking/ExchangeAPIError.h"
#include "services/ReferralLinkStore.h"
#include "store/PortfolioStoreHarness.h"
#include "support/FakeHttpTransport.h"
#include "support/SpinUntil.h"
#include "views/exchanges/ExchangeCredentialSheet.h"
#include "views/exchanges/ExchangeManagementPage.h"
#include "views/kit/FitLabel.h"
#include "views/kit/PlainText.h"

#include <gtest/gtest.h>

#include <functional>

#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace vantrell;
using namespace vantrell::test;

namespace {

const QString referralPath = QStringLiteral("/referrals.json");

QByteArray referralDocument()
{
    return R"({"schemaVersion": 1, "updatedAt": "2024-05-01", "exchanges": [
        {"id": "binance", "enabled": true, "sort": 1, "referralURL": "https://join.example/b"},
        {"id": "okx", "enabled": true, "sort": 2, "referralURL": "http://join.example/o"},
        {"id": "gateio", "enabled": false, "sort": 3, "referralURL": "https://join.example/g"}]})";
}

class ExchangeManagementPageTest : public ::testing::Test {
protected:
    ExchangeManagementPageTest()
        : referrals(world.defaults, transport, QUrl(u"https://config.example" + referralPath))
    {
        transport.respond("GET", referralPath, FakeHttpTransport::json(200, referralDocument()));
    }

    std::unique_ptr<ExchangeManagementPage> makePage()
    {
        if (!store) {
            store = world.makeStore();
        }
        auto page = std::make_unique<ExchangeManagementPage>(*store, referrals, world.defaults);
        page->setUrlOpener([this](const QUrl& url) { opened.push_back(url); });
        page->resize(640, 700);
        return page;
    }

    template <typename T>
    static T* child(QWidget& page, const QString& name)
    {
        return page.findChild<T*>(name);
    }
    static QString statusOf(QWidget& page, const char* exchange)
    {
        return child<FitLabel>(page, u"statusText."_qs + QLatin1String(exchange))->text();
    }

    // One whole refresh cycle that the test can look into while the fetch of `held` waits.
    void refreshWhileHeld(GatedProvider& held, const std::function<void()>& during)
    {
        held.hold();
        QCoro::Task<void> cycle = store->refreshNow(true);
        QCoreApplication::processEvents();  // the page's coalesced update
        during();
        held.release();
        held.hold(false);
        ASSERT_TRUE(runTask(std::move(cycle)).succeeded());
        QCoreApplication::processEvents();
    }

    StoreWorld world;
    FakeHttpTransport transport;
    ReferralLinkStore referrals;
    std::unique_ptr<PortfolioStore> store;
    std::vector<QUrl> opened;
};

TEST_F(ExchangeManagementPageTest, RowsShowEachExchangesStateInOrder)
{
    world.configure(Exchange::binance, u"b-key"_qs)->answer(result(Exchange::binance, "10"));
    world.configure(Exchange::bybit, u"y-key"_qs)->fail(ExchangeAPIError::api(u"维护中"_qs));
    world.configure(Exchange::bybit, u"y2"_qs, u"X1"_qs)->fail(ExchangeAPIError::api(u"维护中"_qs));
    store = world.makeStore();
    refreshNow(*store);
    auto page = makePage();

    EXPECT_EQ(statusOf(*page, "binance"), u"已添加 · 现货、资金账户与合约资产");
    EXPECT_EQ(statusOf(*page, "okx"), u"资金账户、交易账户与合约资产");
    EXPECT_TRUE(statusOf(*page, "bybit").startsWith(u"已添加 · "));
    EXPECT_TRUE(statusOf(*page, "bybit").contains(u"交易所拒绝请求"));
    const ExchangeRefreshStatus bybit = store->status(Exchange::bybit);
    const QString shown = bybit.detail.isEmpty() ? statusOf(*page, "bybit") : bybit.detail;
    EXPECT_EQ(child<FitLabel>(*page, u"statusText.bybit"_qs)->toolTip(), PlainText::toolTip(shown));
    EXPECT_EQ(child<QPushButton>(*page, u"mainAccountButton.binance"_qs)->text(), u"管理");
    EXPECT_EQ(child<QPushButton>(*page, u"mainAccountButton.okx"_qs)->text(), u"配置");
    for (const char* id : {"binance", "okx", "bybit", "bitget", "gateio"}) {
        EXPECT_NE(child<QToolButton>(*page, u"addAccountButton."_qs + QLatin1String(id)), nullptr);
    }
    EXPECT_EQ(child<QLabel>(*page, u"accountAlias.X1"_qs)->text(), u"账户 X1");

    // Dividers close every block but Gate's, after the block's account rows.
    EXPECT_EQ(child<QWidget>(*page, u"divider.gateio"_qs), nullptr);
    QLayout* card = child<QWidget>(*page, u"exchangeCard"_qs)->layout();
    const int accountRow = card->indexOf(child<QWidget>(*page, u"accountRow.X1"_qs));
    const int bybitDivider =
        card->indexOf(child<QWidget>(*page, u"divider.bybit"_qs)->parentWidget());
    EXPECT_EQ(bybitDivider, accountRow + 1);
    EXPECT_EQ(card->count(), 5 + 1 + 4);
}

TEST_F(ExchangeManagementPageTest, RegisterIsOfferedOnlyForHttpsLinksAndLinksRefreshOnEachShow)
{
    auto page = makePage();
    page->show();
    ASSERT_TRUE(spinUntil([&] { return child<QToolButton>(*page, u"registerButton.binance"_qs); }));
    EXPECT_EQ(transport.requestCount("GET", referralPath), 1 + 1) << "start-up and show";
    EXPECT_EQ(child<QToolButton>(*page, u"registerButton.okx"_qs), nullptr) << "http";
    EXPECT_EQ(child<QToolButton>(*page, u"registerButton.gateio"_qs), nullptr) << "disabled";

    auto* button = child<QToolButton>(*page, u"registerButton.binance"_qs);
    EXPECT_EQ(button->toolTip(), u"打开 Binance 官方注册链接");
    button->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(u"https://join.example/b"_qs));

    page->hide();
    page->show();
    EXPECT_TRUE(spinUntil([&] { return transport.requestCount("GET", referralPath) == 3; }));
}

TEST_F(ExchangeManagementPageTest, ANewAccountIsStoredOnlyWhenItsSheetSaves)
{
    world.configure(Exchange::bybit, u"a"_qs, u"A"_qs);
    world.configure(Exchange::okx, u"o"_qs, u"O"_qs);
    world.configure(Exchange::bybit, u"b"_qs, u"B"_qs);
    auto page = makePage();
    page->show();

    child<QToolButton>(*page, u"addAccountButton.bybit"_qs)->click();
    QPointer<ExchangeCredentialSheet> sheet = page->credentialSheet();
    ASSERT_TRUE(sheet);
    const AdditionalExchangeAccount proposed = *sheet->model().account();
    EXPECT_EQ(proposed.alias, u"账户 4") << "two Bybit accounts; OKX's does not count";
    sheet->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(sheet) << "deleted once closed";
    EXPECT_EQ(LocalCredentialStore(world.defaults).additionalAccounts().size(), 3u);

    child<QToolButton>(*page, u"addAccountButton.bybit"_qs)->click();
    sheet = page->credentialSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->model().account()->alias, u"账户 4");
    EXPECT_NE(sheet->model().account()->id, proposed.id);

    world.providers[u"c"_qs] = std::make_shared<GatedProvider>(Exchange::bybit);
    sheet->findChild<QLineEdit*>(u"apiKeyField"_qs)->setText(u"c"_qs);
    sheet->findChild<QLineEdit*>(u"secretKeyField"_qs)->setText(u"s"_qs);
    const QString id = sheet->model().account()->id;
    sheet->findChild<QPushButton*>(u"saveButton"_qs)->click();
    ASSERT_TRUE(spinUntil([&] { return child<QLabel>(*page, u"accountAlias."_qs + id); }));
    EXPECT_EQ(child<QLabel>(*page, u"accountAlias."_qs + id)->text(), u"账户 4");
}

TEST_F(ExchangeManagementPageTest, APressFocusAndTooltipOutliveARefreshCycle)
{
    auto binance = world.configure(Exchange::binance, u"b-key"_qs);
    binance->answer(result(Exchange::binance, "10"));
    auto page = makePage();
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    QPointer<QPushButton> manage = child<QPushButton>(*page, u"mainAccountButton.binance"_qs);
    QPointer<FitLabel> status = child<FitLabel>(*page, u"statusText.binance"_qs);

    QTest::mousePress(manage, Qt::LeftButton);
    refreshWhileHeld(*binance, [&] {
        ASSERT_TRUE(status);
        EXPECT_EQ(status->text(), u"正在验证连接") << "written into the row it had";
        EXPECT_EQ(status->toolTip(), PlainText::toolTip(u"正在验证连接"_qs));
    });
    ASSERT_TRUE(manage) << "the pressed button is the one drawn before the cycle";
    ASSERT_TRUE(status);
    EXPECT_EQ(status->text(), u"已添加 · 现货、资金账户与合约资产");
    EXPECT_EQ(page->focusWidget(), manage.data()) << "the focus the press gave it";
    EXPECT_EQ(page->credentialSheet(), nullptr);

    QTest::mouseRelease(manage, Qt::LeftButton);
    ASSERT_NE(page->credentialSheet(), nullptr);
    EXPECT_EQ(page->credentialSheet()->model().exchange(), Exchange::binance);
    EXPECT_FALSE(page->credentialSheet()->model().account().has_value());
}

TEST_F(ExchangeManagementPageTest, AHiddenPageWaitsAndIsCurrentAsSoonAsItIsShown)
{
    auto page = makePage();
    page->show();
    page->hide();
    QPointer<QWidget> okxRow = child<QWidget>(*page, u"exchangeRow.okx"_qs);
    QPointer<FitLabel> binanceStatus = child<FitLabel>(*page, u"statusText.binance"_qs);

    world.configure(Exchange::okx, u"o-key"_qs)->answer(result(Exchange::okx, "5"));
    world.configure(Exchange::okx, u"o2"_qs, u"O2"_qs)->answer(result(Exchange::okx, "1"));
    world.configure(Exchange::binance, u"b-key"_qs)->fail(ExchangeAPIError::api(u"维护中"_qs));
    refreshNow(*store);
    QCoreApplication::processEvents();
    EXPECT_TRUE(okxRow) << "no rows are built while hidden";
    EXPECT_EQ(child<QPushButton>(*page, u"mainAccountButton.okx"_qs)->text(), u"配置");
    EXPECT_EQ(child<QWidget>(*page, u"accountRow.O2"_qs), nullptr);
    ASSERT_TRUE(binanceStatus);
    EXPECT_EQ(binanceStatus->text(), u"现货、资金账户与合约资产") << "nor texts written";

    page->show();  // current at once, without waiting for the next turn
    EXPECT_FALSE(okxRow);
    EXPECT_EQ(child<QPushButton>(*page, u"mainAccountButton.okx"_qs)->text(), u"管理");
    EXPECT_EQ(child<QLabel>(*page, u"accountAlias.O2"_qs)->text(), u"账户 O2");
    EXPECT_TRUE(statusOf(*page, "binance").startsWith(u"已添加 · "));
    EXPECT_TRUE(statusOf(*page, "binance").contains(u"交易所拒绝请求"));
}

TEST_F(ExchangeManagementPageTest, AddingRemovingAndConfiguringStillRebuildTheRows)
{
    auto page = makePage();
    page->show();
    const auto rowOf = [&](const char* exchange) {
        return QPointer<QWidget>(
            child<QWidget>(*page, u"exchangeRow."_qs + QLatin1String(exchange)));
    };
    const auto settle = [] { QCoreApplication::processEvents(); };

    QPointer<QWidget> bybit = rowOf("bybit");
    world.configure(Exchange::bybit, u"y2"_qs, u"Y2"_qs);
    settle();
    EXPECT_FALSE(bybit) << "an account added";
    EXPECT_NE(child<QWidget>(*page, u"accountRow.Y2"_qs), nullptr);

    bybit = rowOf("bybit");
    LocalCredentialStore(world.defaults).saveAccount({u"Y2"_qs, Exchange::bybit, u"套利"_qs});
    settle();
    EXPECT_FALSE(bybit) << "an account renamed";
    EXPECT_EQ(child<QLabel>(*page, u"accountAlias.Y2"_qs)->text(), u"套利");

    QPointer<QWidget> gate = rowOf("gateio");
    world.configure(Exchange::gateio, u"g-key"_qs)->answer(result(Exchange::gateio, "3"));
    settle();
    EXPECT_FALSE(gate) << "an exchange configured";
    EXPECT_EQ(child<QPushButton>(*page, u"mainAccountButton.gateio"_qs)->text(), u"管理");

    LocalCredentialStore(world.defaults).removeAccount(u"Y2"_qs);
    settle();
    EXPECT_EQ(child<QWidget>(*page, u"accountRow.Y2"_qs), nullptr) << "an account removed";
    EXPECT_EQ(child<QWidget>(*page, u"exchangeCard"_qs)->layout()->count(), 5 + 4);

    gate = rowOf("gateio");
    refreshNow(*store);
    settle();
    EXPECT_TRUE(gate) << "a cycle that only passes through connecting rebuilds nothing";
}

}  // namespace
