// The credential sheet over a real PortfolioStore whose connectors are chosen by API key.

#include "networking/ExchangeAPIError.h"
#include "store/PortfolioStoreHarness.h"
#include "support/SpinUntil.h"
#include "views/exchanges/ExchangeCredentialSheet.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace vantrell;
using namespace vantrell::test;

namespace {

class CredentialSheetTest : public ::testing::Test {
protected:
    void SetUp() override { store = world.makeStore(); }

    // A connector the store hands out for `key`, not stored anywhere yet.
    std::shared_ptr<GatedProvider> offer(Exchange exchange, const QString& key,
                                         const char* total = "100")
    {
        auto provider = std::make_shared<GatedProvider>(exchange);
        provider->answer(result(exchange, total));
        world.providers[key] = provider;
        return provider;
    }

    std::unique_ptr<ExchangeCredentialSheet> openSheet(
        Exchange exchange, std::optional<AdditionalExchangeAccount> account = std::nullopt)
    {
        auto sheet = std::make_unique<ExchangeCredentialSheet>(*store, world.defaults, exchange,
                                                               std::move(account));
        sheet->open();
        return sheet;
    }

    static QLineEdit* field(QWidget& sheet, const char* name)
    {
        return sheet.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static QPushButton* button(QWidget& sheet, const char* name)
    {
        return sheet.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    static void type(QWidget& sheet, const QString& key, const QString& secret)
    {
        field(sheet, "apiKeyField")->setText(key);
        field(sheet, "secretKeyField")->setText(secret);
    }
    static QString notice(QWidget& sheet)
    {
        return sheet.findChild<QLabel*>(QStringLiteral("noticeText"))->text();
    }

    std::optional<QString> stored(CredentialField field,
                                  const std::optional<QString>& id = std::nullopt)
    {
        return LocalCredentialStore(world.defaults, id).value(field);
    }

    StoreWorld world;
    std::unique_ptr<PortfolioStore> store;
};

TEST_F(CredentialSheetTest, StaysOpenUntilTheRefreshWithTheNewKeysHasFinished)
{
    // A cycle over another exchange is running when the sheet saves.
    auto okx = world.configure(Exchange::okx, QStringLiteral("okx-key"));
    okx->answer(result(Exchange::okx, "50"));
    okx->hold();
    store->refresh(true);
    ASSERT_TRUE(store->isRefreshing());
    auto binance = offer(Exchange::binance, QStringLiteral("new-key"));
    binance->hold();

    auto sheet = openSheet(Exchange::binance);
    EXPECT_EQ(notice(*sheet), u"API 密钥仅保存在这台电脑上");
    type(*sheet, QStringLiteral("  new-key \t"), QStringLiteral(" secret "));
    button(*sheet, "saveButton")->click();

    EXPECT_EQ(stored(CredentialField::binanceAPIKey), u"new-key")
        << "trimmed, written after the test";
    EXPECT_EQ(stored(CredentialField::binanceSecretKey), u"secret");
    EXPECT_TRUE(sheet->isBusy());
    EXPECT_EQ(button(*sheet, "saveButton")->text(), u"正在验证");
    EXPECT_FALSE(button(*sheet, "saveButton")->isEnabled());
    EXPECT_FALSE(button(*sheet, "cancelButton")->isEnabled());

    okx->hold(false);
    okx->release();  // the running cycle ends; the forced one with the new keys starts
    ASSERT_TRUE(spinUntil([&] { return binance->fetches() == 1; }));
    EXPECT_TRUE(sheet->isVisible()) << "the refresh with the new keys is still running";

    binance->release();
    ASSERT_TRUE(spinUntil([&] { return !sheet->isVisible(); }));
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_FALSE(sheet->isBusy());
    EXPECT_TRUE(store->isConfigured(Exchange::binance));
    EXPECT_EQ(store->snapshot().totalValue, dec("150"));
}

TEST_F(CredentialSheetTest, AFailedTestKeepsTheFieldsShowsTheMessageAndWritesNothing)
{
    world.configure(Exchange::okx, QStringLiteral("old-key"));
    auto failing = offer(Exchange::okx, QStringLiteral("bad-key"));
    failing->fail(ExchangeAPIError::api(QStringLiteral("<b>Invalid</b> key")));

    auto sheet = openSheet(Exchange::okx);
    EXPECT_EQ(field(*sheet, "apiKeyField")->text(), u"old-key") << "loaded from the store";
    ASSERT_NE(button(*sheet, "removeButton"), nullptr);
    type(*sheet, QStringLiteral("bad-key"), QStringLiteral("new-secret"));
    field(*sheet, "passphraseField")->setText(QStringLiteral("  "));
    button(*sheet, "saveButton")->click();
    ASSERT_TRUE(spinUntil([&] { return !sheet->isBusy(); }));

    EXPECT_TRUE(sheet->isVisible());
    const QString expected =
        u"验证失败：" +
        ExchangeAPIError::api(QStringLiteral("<b>Invalid</b> key")).errorDescription();
    EXPECT_EQ(notice(*sheet), expected);
    EXPECT_EQ(sheet->findChild<QLabel*>(QStringLiteral("noticeText"))->textFormat(), Qt::PlainText);
    EXPECT_EQ(field(*sheet, "apiKeyField")->text(), u"bad-key");
    EXPECT_EQ(field(*sheet, "secretKeyField")->text(), u"new-secret");
    EXPECT_EQ(field(*sheet, "passphraseField")->text(), u"  ");
    EXPECT_EQ(stored(CredentialField::okxAPIKey), u"old-key");
    EXPECT_EQ(stored(CredentialField::okxSecretKey), u"s");
    EXPECT_EQ(stored(CredentialField::okxPassphrase), u"s");
    EXPECT_TRUE(button(*sheet, "saveButton")->isEnabled()) << "a blank passphrase counts";
    EXPECT_TRUE(button(*sheet, "cancelButton")->isEnabled());
}

TEST_F(CredentialSheetTest, ADuplicateKeyIsRefusedBeforeAnyTest)
{
    world.configure(Exchange::bybit, QStringLiteral("main-key"));
    const auto proposed = AdditionalExchangeAccount{AdditionalExchangeAccount::newID(),
                                                    Exchange::bybit, QStringLiteral("账户 2")};
    auto sheet = openSheet(Exchange::bybit, proposed);
    EXPECT_EQ(field(*sheet, "aliasField")->text(), u"账户 2");
    EXPECT_EQ(button(*sheet, "removeButton"), nullptr) << "nothing stored for the new account";
    type(*sheet, QStringLiteral(" main-key"), QStringLiteral("x"));
    button(*sheet, "saveButton")->click();

    EXPECT_FALSE(sheet->isBusy());
    EXPECT_EQ(notice(*sheet), u"这个 API Key 已用于另一个账户，不能重复统计。");
    EXPECT_TRUE(LocalCredentialStore(world.defaults).additionalAccounts().size() == 0);
    EXPECT_EQ(stored(CredentialField::bybitAPIKey, proposed.id), std::nullopt);
}

TEST_F(CredentialSheetTest, EscapeAndCloseAreIgnoredWhileSaving)
{
    auto provider = offer(Exchange::gateio, QStringLiteral("gate-key"));
    provider->hold();
    auto sheet = openSheet(Exchange::gateio);
    type(*sheet, QStringLiteral("gate-key"), QStringLiteral("x"));
    QTest::keyClick(field(*sheet, "secretKeyField"), Qt::Key_Return);  // the default button
    ASSERT_TRUE(sheet->isBusy());

    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_FALSE(sheet->close());
    sheet->reject();
    EXPECT_TRUE(sheet->isVisible());

    provider->release();
    ASSERT_TRUE(spinUntil([&] { return !sheet->isVisible(); }));
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
}

TEST_F(CredentialSheetTest, RemovalIsBusyUntilItsRefreshEndsAndEscapeIsIgnored)
{
    auto main = world.configure(Exchange::bitget, QStringLiteral("main-key"));
    world.configure(Exchange::bitget, QStringLiteral("extra-key"), QStringLiteral("E1"));
    refreshNow(*store);
    auto other = world.configure(Exchange::binance, QStringLiteral("binance-key"));
    other->hold();

    auto sheet = openSheet(Exchange::bitget);
    button(*sheet, "removeButton")->click();
    EXPECT_EQ(stored(CredentialField::bitgetAPIKey), std::nullopt) << "removed at once";
    EXPECT_EQ(stored(CredentialField::bitgetAPIKey, QStringLiteral("E1")), u"extra-key");
    ASSERT_TRUE(sheet->isBusy());
    for (const char* name : {"removeButton", "cancelButton", "saveButton"}) {
        EXPECT_FALSE(button(*sheet, name)->isEnabled()) << name;
    }
    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_FALSE(sheet->close());
    EXPECT_TRUE(sheet->isVisible());

    other->release();
    ASSERT_TRUE(spinUntil([&] { return !sheet->isVisible(); }));
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
}

TEST_F(CredentialSheetTest, ARefusedRemovalSaysSoAndKeepsTheSheetAsItWas)
{
    world.configure(Exchange::gateio, QStringLiteral("gate-key"));
    refreshNow(*store);
    auto sheet = openSheet(Exchange::gateio);
    world.defaults.setWritesFail(true);
    button(*sheet, "removeButton")->click();

    EXPECT_EQ(notice(*sheet), u"移除失败：无法写入本机设置文件。");
    EXPECT_FALSE(sheet->isBusy());
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(field(*sheet, "apiKeyField")->text(), u"gate-key");
    EXPECT_TRUE(button(*sheet, "removeButton")->isVisible());
    EXPECT_EQ(stored(CredentialField::gateAPIKey), u"gate-key");
    QTest::qWait(50);
    EXPECT_TRUE(sheet->isVisible()) << "no refresh closes it behind the message";
}

TEST_F(CredentialSheetTest, AChangeRefusedPartWaySaysSoAndStoresNothing)
{
    world.configure(Exchange::gateio, QStringLiteral("acc-key"), QStringLiteral("ACC"));
    offer(Exchange::gateio, QStringLiteral("new-key"));
    const auto account = LocalCredentialStore(world.defaults).additionalAccounts().front();
    auto sheet = openSheet(Exchange::gateio, account);
    // The disk fills up once one more key has been written.
    const auto fillTheDiskAfterOneWrite = [&] {
        world.defaults.refuseWritesTo(
            [writes = 0](const QString&) mutable { return ++writes > 1; });
    };
    const auto expectStoredAsBefore = [&] {
        EXPECT_EQ(stored(CredentialField::gateAPIKey, u"ACC"_qs), u"acc-key");
        EXPECT_EQ(stored(CredentialField::gateSecretKey, u"ACC"_qs), u"s");
        EXPECT_EQ(LocalCredentialStore(world.defaults).additionalAccounts(), std::vector{account});
    };

    fillTheDiskAfterOneWrite();
    type(*sheet, QStringLiteral("new-key"), QStringLiteral("new-secret"));
    button(*sheet, "saveButton")->click();
    ASSERT_TRUE(spinUntil([&] { return !sheet->isBusy(); }));
    EXPECT_EQ(notice(*sheet), u"保存失败：无法写入本机设置文件。");
    EXPECT_TRUE(sheet->isVisible());
    expectStoredAsBefore();

    fillTheDiskAfterOneWrite();
    button(*sheet, "removeButton")->click();
    EXPECT_EQ(notice(*sheet), u"移除失败：无法写入本机设置文件。");
    EXPECT_TRUE(sheet->isVisible());
    expectStoredAsBefore();
}

TEST_F(CredentialSheetTest, ASheetDeletedWhileWaitingIsNeverTouched)
{
    auto provider = offer(Exchange::binance, QStringLiteral("k"));
    provider->hold();
    auto sheet = openSheet(Exchange::binance);
    type(*sheet, QStringLiteral("k"), QStringLiteral("s"));
    button(*sheet, "saveButton")->click();
    ASSERT_TRUE(sheet->isBusy());
    sheet.reset();

    provider->release();
    EXPECT_TRUE(spinUntil([&] { return !store->isRefreshing(); }));
    EXPECT_TRUE(store->isConfigured(Exchange::binance));
}

TEST_F(CredentialSheetTest, ReSavingAnAccountMovesItToTheEndWithItsNewAlias)
{
    world.configure(Exchange::bybit, QStringLiteral("a-key"), QStringLiteral("A"));
    world.configure(Exchange::bybit, QStringLiteral("b-key"), QStringLiteral("B"));
    const auto accounts = LocalCredentialStore(world.defaults).additionalAccounts();
    ASSERT_EQ(accounts.front().id, u"A");

    auto sheet = openSheet(Exchange::bybit, accounts.front());
    EXPECT_EQ(field(*sheet, "apiKeyField")->text(), u"a-key") << "its own key is no duplicate";
    field(*sheet, "aliasField")->setText(QStringLiteral("  ") + QString(40, u'长'));
    button(*sheet, "saveButton")->click();
    ASSERT_TRUE(spinUntil([&] { return !sheet->isVisible(); }));

    const auto after = LocalCredentialStore(world.defaults).additionalAccounts();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].id, u"B");
    EXPECT_EQ(after[1].id, u"A");
    EXPECT_EQ(after[1].alias, QString(32, u'长'));
}

}  // namespace
