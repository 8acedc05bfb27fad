#include "views/exchanges/CredentialSheetModel.h"
#include "views/exchanges/CredentialSheetRules.h"

#include "platform/MemoryDefaultsStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace vantrell;
namespace Rules = vantrell::CredentialSheetRules;

namespace {

class CredentialSheetModelTest : public ::testing::Test {
protected:
    // Stores `key` (and a secret) for the main account, or for the additional account `id`.
    void store(Exchange exchange, const QString& key, const std::optional<QString>& id = {})
    {
        LocalCredentialStore scope(defaults, id);
        const ExchangeCredentialFields fields = credentialFields(exchange);
        scope.setValue(key, fields.apiKey);
        scope.setValue(QStringLiteral("secret"), fields.secretKey);
        if (fields.passphrase) {
            scope.setValue(QStringLiteral("pass"), *fields.passphrase);
        }
        if (id) {
            LocalCredentialStore(defaults).saveAccount({*id, exchange, u"账户 "_qs + *id});
        }
    }
    CredentialSheetModel mainSheet(Exchange exchange)
    {
        return CredentialSheetModel(defaults, exchange, std::nullopt);
    }
    CredentialSheetModel accountSheet(Exchange exchange, const QString& id)
    {
        return CredentialSheetModel(defaults, exchange,
                                    AdditionalExchangeAccount{id, exchange, u"别名"_qs});
    }

    // The disk fills up once one more key has been written: every later write is refused.
    void fillTheDiskAfterOneWrite()
    {
        defaults.refuseWritesTo([writes = 0](const QString&) mutable { return ++writes > 1; });
    }
    std::map<QString, QVariant> contents() const
    {
        std::map<QString, QVariant> all;
        for (const QString& key : defaults.keys()) {
            all.emplace(key, defaults.value(key));
        }
        return all;
    }

    MemoryDefaultsStore defaults;
};

TEST_F(CredentialSheetModelTest, CompletenessTrimsKeyAndSecretButNeverThePassphrase)
{
    EXPECT_TRUE(Rules::credentialsComplete(Exchange::binance, u" k \n"_qs, u"s"_qs, QString()));
    EXPECT_FALSE(Rules::credentialsComplete(Exchange::binance, u" \n\t"_qs, u"s"_qs, QString()));
    EXPECT_FALSE(Rules::credentialsComplete(Exchange::gateio, u"k"_qs, u"  "_qs, QString()));
    EXPECT_FALSE(Rules::credentialsComplete(Exchange::okx, u"k"_qs, u"s"_qs, QString()));
    EXPECT_TRUE(Rules::credentialsComplete(Exchange::okx, u"k"_qs, u"s"_qs, u"  "_qs));
    EXPECT_TRUE(Rules::credentialsComplete(Exchange::bitget, u"k"_qs, u"s"_qs, u" "_qs));
}

TEST_F(CredentialSheetModelTest, DuplicateKeysAcrossAccountsOfOneExchange)
{
    store(Exchange::binance, u"MAIN"_qs);
    store(Exchange::binance, u"EXTRA1"_qs, u"E1"_qs);
    store(Exchange::binance, u"EXTRA2"_qs, u"E2"_qs);
    store(Exchange::okx, u"OKXKEY"_qs, u"O1"_qs);
    store(Exchange::bybit, u"MAIN"_qs);

    // A new additional account may not take the main account's key of the same exchange...
    EXPECT_TRUE(accountSheet(Exchange::binance, u"NEW"_qs).isDuplicateKey(u"MAIN"_qs));
    // ...while the same key under another exchange is fine.
    EXPECT_FALSE(accountSheet(Exchange::okx, u"NEW"_qs).isDuplicateKey(u"MAIN"_qs));
    EXPECT_FALSE(mainSheet(Exchange::gateio).isDuplicateKey(u"OKXKEY"_qs));
    // Each account may save its own key again.
    EXPECT_FALSE(mainSheet(Exchange::binance).isDuplicateKey(u"MAIN"_qs));
    EXPECT_FALSE(accountSheet(Exchange::binance, u"E1"_qs).isDuplicateKey(u"EXTRA1"_qs));
    // Another additional account's key is refused from the main account, a new account and
    // another existing account alike.
    EXPECT_TRUE(mainSheet(Exchange::binance).isDuplicateKey(u"EXTRA2"_qs));
    EXPECT_TRUE(accountSheet(Exchange::binance, u"NEW"_qs).isDuplicateKey(u"EXTRA2"_qs));
    EXPECT_TRUE(accountSheet(Exchange::binance, u"E1"_qs).isDuplicateKey(u"EXTRA2"_qs));
    // Stored keys are compared as stored; accounts without a key never match.
    LocalCredentialStore(defaults).saveAccount({u"NOKEY"_qs, Exchange::binance, u"x"_qs});
    EXPECT_FALSE(mainSheet(Exchange::binance).isDuplicateKey(QString()));
    EXPECT_FALSE(mainSheet(Exchange::binance).isDuplicateKey(u"extra2"_qs));
}

TEST_F(CredentialSheetModelTest, LoadsTheScopeAndTheAlias)
{
    store(Exchange::okx, u"K"_qs);
    const auto main = mainSheet(Exchange::okx).load();
    EXPECT_EQ(main.alias, QStringLiteral("默认账户"));
    EXPECT_EQ(main.credentials.apiKey, u"K"_qs);
    EXPECT_EQ(main.credentials.passphrase, u"pass"_qs);

    const auto fresh = accountSheet(Exchange::okx, u"NEW"_qs).load();
    EXPECT_EQ(fresh.alias, u"别名"_qs);
    EXPECT_EQ(fresh.credentials.apiKey, QString());
}

TEST_F(CredentialSheetModelTest, TestsExactlyTheTrimmedEntriesWithoutStoringThem)
{
    store(Exchange::bitget, u"OLD"_qs);
    const auto sheet = mainSheet(Exchange::bitget);
    const EnteredCredentials typed{u" NEW \n"_qs, u"\tsec "_qs, u" pp "_qs};
    const LocalCredentialStore test = sheet.testStore(typed);
    EXPECT_EQ(test.value(CredentialField::bitgetAPIKey), u"NEW"_qs);
    EXPECT_EQ(test.value(CredentialField::bitgetSecretKey), u"sec"_qs);
    EXPECT_EQ(test.value(CredentialField::bitgetPassphrase), u" pp "_qs);
    EXPECT_EQ(LocalCredentialStore(defaults).value(CredentialField::bitgetAPIKey), u"OLD"_qs);
}

TEST_F(CredentialSheetModelTest, SavingAnAccountWritesItsScopeAndMovesItToTheEnd)
{
    store(Exchange::bybit, u"A"_qs, u"ACC1"_qs);
    store(Exchange::bybit, u"B"_qs, u"ACC2"_qs);
    const auto sheet = accountSheet(Exchange::bybit, u"ACC1"_qs);
    EXPECT_TRUE(sheet.hasStoredCredentials());
    ASSERT_TRUE(sheet.save({u" A2 "_qs, u"S2"_qs, u"ignored"_qs}, u"  套利账户  "_qs));

    const LocalCredentialStore scope = LocalCredentialStore(defaults).forAccount(u"ACC1"_qs);
    EXPECT_EQ(scope.value(CredentialField::bybitAPIKey), u"A2"_qs);
    EXPECT_EQ(scope.value(CredentialField::bybitSecretKey), u"S2"_qs);
    const auto accounts = LocalCredentialStore(defaults).additionalAccounts();
    ASSERT_EQ(accounts.size(), 2u);
    EXPECT_EQ(accounts.back(),
              (AdditionalExchangeAccount{u"ACC1"_qs, Exchange::bybit, u"套利账户"_qs}));
    // The main account's alias is never written.
    ASSERT_TRUE(mainSheet(Exchange::bybit).save({u"M"_qs, u"S"_qs, {}}, u"默认账户"_qs));
    EXPECT_EQ(LocalCredentialStore(defaults).additionalAccounts().size(), 2u);
}

TEST_F(CredentialSheetModelTest, RefusedWriteIsNotReportedAsSaved)
{
    defaults.setWritesFail(true);
    EXPECT_FALSE(mainSheet(Exchange::binance).save({u"K"_qs, u"S"_qs, {}}, QString()));
}

TEST_F(CredentialSheetModelTest, ASaveRefusedHalfWayLeavesTheScopeAsItWas)
{
    // A new account whose secrets are written but whose list entry is refused: no orphaned
    // secrets under its id, and the list is unchanged.
    store(Exchange::okx, u"KEEP"_qs, u"OLD"_qs);
    defaults.refuseWritesTo(
        [](const QString& key) { return key == LocalCredentialStore::accountListKey; });
    EXPECT_FALSE(accountSheet(Exchange::okx, u"NEW"_qs).save({u"K"_qs, u"S"_qs, u"P"_qs}, u"a"_qs));
    QList<QString> keys = defaults.keys();
    EXPECT_FALSE(
        std::any_of(keys.begin(), keys.end(), [](const QString& k) { return k.contains(u"NEW"); }));
    ASSERT_EQ(LocalCredentialStore(defaults).additionalAccounts().size(), 1u);

    // An existing scope whose last field is refused keeps its whole old set, not a mix.
    defaults.refuseWritesTo([](const QString& key) { return key.endsWith(u"passphrase"); });
    EXPECT_FALSE(accountSheet(Exchange::okx, u"OLD"_qs).save({u"K2"_qs, u"S2"_qs, u"P2"_qs}, {}));
    const LocalCredentialStore old = LocalCredentialStore(defaults).forAccount(u"OLD"_qs);
    EXPECT_EQ(old.value(CredentialField::okxAPIKey), u"KEEP"_qs);
    EXPECT_EQ(old.value(CredentialField::okxSecretKey), u"secret"_qs);
    EXPECT_FALSE(mainSheet(Exchange::okx).save({u"K3"_qs, u"S3"_qs, u"P3"_qs}, {}));
    EXPECT_FALSE(LocalCredentialStore(defaults).value(CredentialField::okxAPIKey).has_value());
}

TEST_F(CredentialSheetModelTest, ARefusedRemovalKeepsEveryKeyAndTheListEntry)
{
    store(Exchange::bitget, u"MAIN"_qs);
    store(Exchange::bitget, u"X"_qs, u"ACC"_qs);
    // The second field's removal is refused after the first one went through.
    defaults.refuseWritesTo([](const QString& key) { return key.endsWith(u"secret-key"); });
    EXPECT_FALSE(mainSheet(Exchange::bitget).remove());
    EXPECT_TRUE(mainSheet(Exchange::bitget).hasStoredCredentials());

    defaults.refuseWritesTo(
        [](const QString& key) { return key == LocalCredentialStore::accountListKey; });
    EXPECT_FALSE(accountSheet(Exchange::bitget, u"ACC"_qs).remove());
    EXPECT_TRUE(accountSheet(Exchange::bitget, u"ACC"_qs).hasStoredCredentials());
    EXPECT_EQ(LocalCredentialStore(defaults).additionalAccounts().size(), 1u);
}

TEST_F(CredentialSheetModelTest, AChangeRefusedPartWayLeavesEveryKeyAndTheListAsTheyWere)
{
    const EnteredCredentials entered{u"K2"_qs, u"S2"_qs, u"P2"_qs};
    const struct {
        const char* change;
        std::function<bool()> run;
    } rows[] = {
        {"save of the main account", [&] { return mainSheet(Exchange::okx).save(entered, {}); }},
        {"save of a listed account",
         [&] { return accountSheet(Exchange::okx, u"OLD"_qs).save(entered, u"b"_qs); }},
        {"save of a new account",
         [&] { return accountSheet(Exchange::okx, u"NEW"_qs).save(entered, u"c"_qs); }},
        {"removal of the main account", [&] { return mainSheet(Exchange::okx).remove(); }},
        {"removal of a listed account",
         [&] { return accountSheet(Exchange::okx, u"OLD"_qs).remove(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.change);
        defaults = MemoryDefaultsStore();
        store(Exchange::okx, u"MAIN"_qs);
        store(Exchange::okx, u"KEEP"_qs, u"OLD"_qs);
        const auto before = contents();
        fillTheDiskAfterOneWrite();
        EXPECT_FALSE(row.run());
        EXPECT_EQ(contents(), before);
    }
}

TEST_F(CredentialSheetModelTest, RemovalTouchesOnlyItsScope)
{
    store(Exchange::gateio, u"MAIN"_qs);
    store(Exchange::gateio, u"X"_qs, u"ACC"_qs);
    store(Exchange::binance, u"BN"_qs);

    ASSERT_TRUE(mainSheet(Exchange::gateio).remove());
    EXPECT_FALSE(mainSheet(Exchange::gateio).hasStoredCredentials());
    EXPECT_EQ(LocalCredentialStore(defaults).value(CredentialField::binanceAPIKey), u"BN"_qs);
    EXPECT_TRUE(accountSheet(Exchange::gateio, u"ACC"_qs).hasStoredCredentials());

    ASSERT_TRUE(accountSheet(Exchange::gateio, u"ACC"_qs).remove());
    EXPECT_TRUE(LocalCredentialStore(defaults).additionalAccounts().empty());
    const QList<QString> keys = defaults.keys();
    EXPECT_FALSE(
        std::any_of(keys.begin(), keys.end(), [](const QString& k) { return k.contains(u"ACC"); }));
}

TEST_F(CredentialSheetModelTest, AliasIsTrimmedAndCutAtWholeCharacters)
{
    EXPECT_EQ(Rules::normalizedAlias(u" \n "_qs), QStringLiteral("账户"));
    EXPECT_EQ(Rules::normalizedAlias(u"  主力 "_qs), QStringLiteral("主力"));
    const QString forty = QString(40, u'长');
    EXPECT_EQ(Rules::normalizedAlias(forty), QString(32, u'长'));
    EXPECT_EQ(Rules::normalizedAlias(QString(32, u'a')), QString(32, u'a'));

    // Emoji outside the BMP (surrogate pairs) and flags made of two code points count as one.
    QString emoji;
    for (int i = 0; i < 40; ++i) {
        emoji += QString::fromUtf8("😀");
    }
    const QString cutEmoji = Rules::normalizedAlias(emoji);
    EXPECT_EQ(cutEmoji.size(), 64);
    EXPECT_TRUE(cutEmoji.back().isLowSurrogate());
    QString flags = QString(31, u'x') + QString::fromUtf8("🇨🇳🇭🇰");
    EXPECT_EQ(Rules::normalizedAlias(flags), QString(31, u'x') + QString::fromUtf8("🇨🇳"));
    // A letter with a combining accent stays whole.
    const QString accented = QString(31, u'x') + u"e\u0301z"_qs;
    EXPECT_EQ(Rules::normalizedAlias(accented), QString(31, u'x') + u"e\u0301"_qs);
}

TEST_F(CredentialSheetModelTest, Texts)
{
    EXPECT_EQ(Rules::title(Exchange::gateio), QStringLiteral("添加 Gate.io"));
    EXPECT_EQ(Rules::failureMessage(u"尚未保存完整凭证"_qs),
              QStringLiteral("验证失败：尚未保存完整凭证"));
    EXPECT_FALSE(Rules::storageNotice.contains(u"Mac"));
}

}  // namespace
