#include "security/CredentialChangeNotifier.h"

#include "platform/MemoryDefaultsStore.h"
#include "security/LocalCredentialStore.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

TEST(CredentialChangeNotifierTest, EveryStoredWriteIsAnnounced)
{
    MemoryDefaultsStore defaults;
    LocalCredentialStore main(defaults);
    int changes = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&CredentialChangeNotifier::instance(),
                         &CredentialChangeNotifier::credentialsChanged, [&] { ++changes; });

    main.setValue(QStringLiteral("key"), CredentialField::binanceAPIKey);
    EXPECT_EQ(changes, 1);
    main.removeValue(CredentialField::binanceAPIKey);
    EXPECT_EQ(changes, 2);
    main.saveAccount({QStringLiteral("A"), Exchange::okx, QStringLiteral("账户 2")});
    EXPECT_EQ(changes, 3);
    main.forAccount(QStringLiteral("A")).setValue(QStringLiteral("k"), CredentialField::okxAPIKey);
    EXPECT_EQ(changes, 4);
    main.removeAccount(QStringLiteral("A"));  // twelve keys and the list: one announcement
    EXPECT_EQ(changes, 5);

    // A refused write may still have changed part of the data, so it is announced too.
    defaults.setWritesFail(true);
    EXPECT_FALSE(main.setValue(QStringLiteral("key"), CredentialField::bybitAPIKey));
    EXPECT_EQ(changes, 6);
    QObject::disconnect(counting);
}

TEST(CredentialChangeNotifierTest, ValuesHeldInMemoryAreNotAnnounced)
{
    MemoryDefaultsStore defaults;
    LocalCredentialStore typed(CredentialValues{}, defaults);
    int changes = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&CredentialChangeNotifier::instance(),
                         &CredentialChangeNotifier::credentialsChanged, [&] { ++changes; });
    typed.setValue(QStringLiteral("key"), CredentialField::gateAPIKey);
    typed.removeValue(CredentialField::gateAPIKey);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(defaults.keys().isEmpty());
    QObject::disconnect(counting);
}

}  // namespace
