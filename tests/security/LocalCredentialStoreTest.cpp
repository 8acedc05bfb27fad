#include "platform/MemoryDefaultsStore.h"
#include "security/LocalCredentialStore.h"

#include <gtest/gtest.h>
#include <QRegularExpression>

using namespace vantrell;

namespace {

const QString emptyIdentity =
    u"9c157eee1cdc35bf6805d4d964e55d609743b06372e0707adff31250eb9c5ee4"_qs;

class LocalCredentialStoreTest : public ::testing::Test {
protected:
    void storeList(const QByteArray& json)
    {
        ASSERT_TRUE(defaults.setValue(u"additionalExchangeAccounts"_qs, json));
    }
    void setExtra(const QString& id, CredentialField field, const QString& value)
    {
        ASSERT_TRUE(store.forAccount(id).setValue(value, field));
    }
    std::vector<QString> listedIDs() const
    {
        std::vector<QString> ids;
        for (const AdditionalExchangeAccount& account : store.additionalAccounts()) {
            ids.push_back(account.id);
        }
        return ids;
    }

    MemoryDefaultsStore defaults;
    LocalCredentialStore store{defaults};
};

}  // namespace

TEST(CredentialFieldTest, RawValuesRoundTripExactly)
{
    ASSERT_EQ(allCredentialFields.size(), 12u);
    EXPECT_EQ(rawValue(allCredentialFields.front()), u"binance.api-key"_qs);
    EXPECT_EQ(rawValue(allCredentialFields[4]), u"okx.passphrase"_qs);
    EXPECT_EQ(rawValue(allCredentialFields.back()), u"bitget.passphrase"_qs);
    for (CredentialField field : allCredentialFields) {
        EXPECT_EQ(credentialFieldFromRaw(rawValue(field)), field);
    }
    EXPECT_EQ(credentialFieldFromRaw(u"gateio.api-key"), std::nullopt);
    EXPECT_EQ(credentialFieldFromRaw(u"OKX.passphrase"), std::nullopt);
    EXPECT_EQ(credentialFieldFromRaw(u" okx.passphrase"), std::nullopt);
}

TEST_F(LocalCredentialStoreTest, IdentityVectors)
{
    EXPECT_EQ(store.portfolioIdentity(), emptyIdentity);

    store.setValue(u"a/b"_qs, CredentialField::binanceAPIKey);
    store.setValue(u"s"_qs, CredentialField::binanceSecretKey);
    EXPECT_EQ(store.portfolioIdentity(),
              u"7f2afc8a8ff4026eca0c9ec6ccaea768f3b497342aa7b3ff5378b129ce9066a6"_qs);
}

TEST_F(LocalCredentialStoreTest, IdentityEscapesControlsQuotesAndKeepsUnicodeRaw)
{
    store.setValue(QString::fromUtf8("q\"\\/\b\f\n\r\t\x01\x1f\x7f é€😀"),
                   CredentialField::binanceAPIKey);
    EXPECT_EQ(store.portfolioIdentity(),
              u"b86cf221d61c8ba7e6d74d05e847e9b8f27cc96da500285bcc668c2f1958fe8c"_qs);
}

TEST_F(LocalCredentialStoreTest, IdentityCountsCompleteAdditionalAccountsSortedByID)
{
    storeList(R"([{"id":"BBBB","exchange":"OKX","alias":"b"},)"
              R"({"id":"AAAA","exchange":"Gate.io","alias":"a"},)"
              R"({"id":"CCCC","exchange":"Binance","alias":"c"}])");
    setExtra(u"BBBB"_qs, CredentialField::okxAPIKey, u"k1"_qs);
    setExtra(u"BBBB"_qs, CredentialField::okxSecretKey, u"s1"_qs);
    setExtra(u"BBBB"_qs, CredentialField::okxPassphrase, u"p1"_qs);
    setExtra(u"AAAA"_qs, CredentialField::gateAPIKey, u"gk"_qs);
    setExtra(u"AAAA"_qs, CredentialField::gateSecretKey, u"gs"_qs);
    setExtra(u"AAAA"_qs, CredentialField::binanceAPIKey, u"zz"_qs);
    setExtra(u"CCCC"_qs, CredentialField::binanceAPIKey, u"c"_qs);
    const QString identity = store.portfolioIdentity();
    EXPECT_EQ(identity, u"eef7e5fe8275165b5d159a210a1549cc42b8be66e08955f3b7443b04cc906983"_qs);

    // Aliases and list order take no part.
    storeList(R"([{"id":"CCCC","exchange":"Binance","alias":"renamed"},)"
              R"({"id":"AAAA","exchange":"Gate.io","alias":"x"},)"
              R"({"id":"BBBB","exchange":"OKX","alias":"y"}])");
    EXPECT_EQ(store.portfolioIdentity(), identity);

    // An incomplete account adds nothing until it is complete.
    store.saveAccount({u"DDDD"_qs, Exchange::bybit, u"d"_qs});
    setExtra(u"DDDD"_qs, CredentialField::bybitAPIKey, u"k"_qs);
    EXPECT_EQ(store.portfolioIdentity(), identity);
    setExtra(u"DDDD"_qs, CredentialField::bybitSecretKey, u"s"_qs);
    const QString completed = store.portfolioIdentity();
    EXPECT_NE(completed, identity);

    // Any of a counting account's twelve values counts, even another exchange's.
    setExtra(u"DDDD"_qs, CredentialField::bitgetPassphrase, u"p"_qs);
    EXPECT_NE(store.portfolioIdentity(), completed);
}

TEST_F(LocalCredentialStoreTest, AnyMainValueChangesTheIdentity)
{
    for (CredentialField field : allCredentialFields) {
        LocalCredentialStore fresh(defaults);
        ASSERT_TRUE(fresh.setValue(u" "_qs, field));
        EXPECT_NE(fresh.portfolioIdentity(), emptyIdentity) << rawValue(field).toStdString();
        ASSERT_TRUE(fresh.removeValue(field));
        EXPECT_EQ(fresh.portfolioIdentity(), emptyIdentity);
    }
}

TEST_F(LocalCredentialStoreTest, KeyLayoutPerScope)
{
    store.setValue(u"main"_qs, CredentialField::okxPassphrase);
    store.forAccount(u"ID-1"_qs).setValue(u"extra"_qs, CredentialField::okxPassphrase);
    EXPECT_EQ(defaults.value(u"credential.okx.passphrase"_qs).toString(), u"main"_qs);
    EXPECT_EQ(defaults.value(u"credential.extra.ID-1.okx.passphrase"_qs).toString(), u"extra"_qs);
    EXPECT_EQ(defaults.keys().size(), 2);

    // Another instance over the same store sees the write at once.
    EXPECT_EQ(LocalCredentialStore(defaults, u"ID-1"_qs).value(CredentialField::okxPassphrase),
              u"extra"_qs);
    EXPECT_EQ(store.value(CredentialField::okxAPIKey), std::nullopt);
}

TEST_F(LocalCredentialStoreTest, InMemoryInstanceReadsOnlyItsMap)
{
    store.setValue(u"main-key"_qs, CredentialField::binanceAPIKey);
    store.setValue(u"main-secret"_qs, CredentialField::binanceSecretKey);

    LocalCredentialStore empty(CredentialValues{}, defaults);
    for (CredentialField field : allCredentialFields) {
        EXPECT_EQ(empty.value(field), std::nullopt);
    }
    EXPECT_EQ(empty.binanceCredentials(), std::nullopt);

    LocalCredentialStore typed(CredentialValues{{CredentialField::bybitAPIKey, u"k"_qs},
                                                {CredentialField::bybitSecretKey, u"s"_qs}},
                               defaults);
    EXPECT_EQ(typed.bybitCredentials(), (BybitCredentials{u"k"_qs, u"s"_qs}));

    // Writes stay in the map: nothing typed for a connection test reaches the defaults.
    typed.setValue(u"other"_qs, CredentialField::binanceAPIKey);
    EXPECT_EQ(typed.value(CredentialField::binanceAPIKey), u"other"_qs);
    EXPECT_EQ(store.value(CredentialField::binanceAPIKey), u"main-key"_qs);
}

TEST_F(LocalCredentialStoreTest, ReadersAreCompleteOrNothingWithoutTrimming)
{
    LocalCredentialStore values(CredentialValues{{CredentialField::okxAPIKey, u"k"_qs},
                                                 {CredentialField::okxSecretKey, u"s"_qs},
                                                 {CredentialField::okxPassphrase, u""_qs},
                                                 {CredentialField::bitgetAPIKey, u" "_qs},
                                                 {CredentialField::bitgetSecretKey, u"  "_qs},
                                                 {CredentialField::bitgetPassphrase, u"p "_qs},
                                                 {CredentialField::gateAPIKey, u"k"_qs}},
                                defaults);
    EXPECT_EQ(values.okxCredentials(), std::nullopt);   // empty passphrase
    EXPECT_EQ(values.gateCredentials(), std::nullopt);  // secret absent
    EXPECT_EQ(values.bitgetCredentials(), (BitgetCredentials{u" "_qs, u"  "_qs, u"p "_qs}));

    store.setValue(u"k"_qs, CredentialField::okxAPIKey);
    store.setValue(u"s"_qs, CredentialField::okxSecretKey);
    store.setValue(u""_qs, CredentialField::okxPassphrase);
    EXPECT_EQ(store.value(CredentialField::okxPassphrase), u""_qs);  // stored, not absent
    EXPECT_EQ(store.okxCredentials(), std::nullopt);
    store.setValue(u" p"_qs, CredentialField::okxPassphrase);
    EXPECT_EQ(store.okxCredentials(), (OKXCredentials{u"k"_qs, u"s"_qs, u" p"_qs}));
}

TEST_F(LocalCredentialStoreTest, SaveReplacesAndMovesToTheEnd)
{
    setExtra(u"A"_qs, CredentialField::binanceAPIKey, u"key"_qs);
    store.saveAccount({u"A"_qs, Exchange::binance, u"first"_qs});
    store.saveAccount({u"B"_qs, Exchange::gateio, u"second"_qs});
    store.saveAccount({u"A"_qs, Exchange::okx, u"renamed"_qs});

    const std::vector<AdditionalExchangeAccount> expected{{u"B"_qs, Exchange::gateio, u"second"_qs},
                                                          {u"A"_qs, Exchange::okx, u"renamed"_qs}};
    EXPECT_EQ(store.additionalAccounts(), expected);
    EXPECT_EQ(store.forAccount(u"A"_qs).value(CredentialField::binanceAPIKey), u"key"_qs);
    EXPECT_EQ(defaults.value(u"additionalExchangeAccounts"_qs).toByteArray(),
              R"([{"id":"B","exchange":"Gate.io","alias":"second"},)"
              R"({"id":"A","exchange":"OKX","alias":"renamed"}])");
}

TEST_F(LocalCredentialStoreTest, RemoveDeletesAllExtraKeysEvenWhenNotListed)
{
    store.saveAccount({u"KEEP"_qs, Exchange::bybit, u"k"_qs});
    for (CredentialField field : allCredentialFields) {
        store.setValue(u"main"_qs, field);
        setExtra(u"GONE"_qs, field, u"x"_qs);
        setExtra(u"KEEP"_qs, field, u"y"_qs);
    }
    store.removeAccount(u"GONE"_qs);

    for (CredentialField field : allCredentialFields) {
        EXPECT_EQ(store.forAccount(u"GONE"_qs).value(field), std::nullopt);
        EXPECT_EQ(store.forAccount(u"KEEP"_qs).value(field), u"y"_qs);
        EXPECT_EQ(store.value(field), u"main"_qs);
    }
    EXPECT_EQ(listedIDs(), std::vector<QString>{u"KEEP"_qs});

    store.removeAccount(u"KEEP"_qs);
    EXPECT_TRUE(listedIDs().empty());
    EXPECT_EQ(defaults.keys().size(), 13);  // the main twelve and the (empty) list
}

TEST_F(LocalCredentialStoreTest, AnyBadEntryMakesTheListReadEmpty)
{
    const QByteArray good = R"({"id":"A","exchange":"OKX","alias":"a"})";
    const QByteArray cases[] = {
        "[" + good + R"(,{"id":"B","exchange":"Gate","alias":"b"}])",
        "[" + good + R"(,{"id":"B","exchange":"OKX"}])",
        "[" + good + R"(,{"id":null,"exchange":"OKX","alias":"b"}])",
        "[" + good + R"(,{"id":1,"exchange":"OKX","alias":"b"}])",
        "{}",
        "not json",
    };
    for (const QByteArray& json : cases) {
        storeList(json);
        EXPECT_TRUE(store.additionalAccounts().empty()) << json.constData();
    }
    EXPECT_TRUE(LocalCredentialStore(defaults).additionalAccounts().empty());

    storeList("[" + good + R"(,{"id":"B","exchange":"Gate.io","alias":"b","extra":1}])");
    EXPECT_EQ(listedIDs(), (std::vector<QString>{u"A"_qs, u"B"_qs}));
}

TEST_F(LocalCredentialStoreTest, UnreadableListIsKeptBeforeItIsOverwritten)
{
    const QByteArray unreadable =
        R"([{"id":"A","exchange":"OKX","alias":"a"},{"id":"B","exchange":"Gate","alias":"b"}])";
    storeList(unreadable);
    store.saveAccount({u"NEW"_qs, Exchange::binance, u"n"_qs});
    EXPECT_EQ(listedIDs(), std::vector<QString>{u"NEW"_qs});
    EXPECT_EQ(defaults.value(u"additionalExchangeAccounts.unreadable"_qs).toByteArray(),
              unreadable);

    storeList("garbage");
    store.removeAccount(u"X"_qs);
    EXPECT_EQ(defaults.value(u"additionalExchangeAccounts"_qs).toByteArray(), "[]");
    EXPECT_EQ(defaults.value(u"additionalExchangeAccounts.unreadable"_qs).toByteArray(), "garbage");

    // A readable list leaves the kept copy alone.
    store.saveAccount({u"NEXT"_qs, Exchange::binance, u"n"_qs});
    EXPECT_EQ(defaults.value(u"additionalExchangeAccounts.unreadable"_qs).toByteArray(), "garbage");
}

TEST_F(LocalCredentialStoreTest, FailedWritesAreReported)
{
    defaults.setWritesFail(true);
    EXPECT_FALSE(store.setValue(u"k"_qs, CredentialField::okxAPIKey));
    EXPECT_FALSE(store.saveAccount({u"A"_qs, Exchange::okx, u"a"_qs}));
    EXPECT_FALSE(store.removeAccount(u"A"_qs));
}

TEST(AdditionalExchangeAccountTest, NewIDsAreUpperCaseUUIDs)
{
    const QString id = AdditionalExchangeAccount::newID();
    EXPECT_TRUE(
        QRegularExpression(u"^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"_qs).match(id).hasMatch())
        << id.toStdString();
    EXPECT_NE(AdditionalExchangeAccount::newID(), id);
}
