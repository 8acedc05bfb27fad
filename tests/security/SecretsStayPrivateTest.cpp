// API secrets and passphrases must never leave the defaults file: not into the data folder, not
// onto the wire (a passphrase only in the one header its exchange asks for), not into anything
// printed and not into any text shown to the user, on success and on the error paths alike.
//
// A whole refresh runs through the real store, the real connectors and the real network stack
// against loopback fixture servers, with the credentials kept by the real settings file in a
// temporary configuration folder.

#include "files/PortfolioDiskWriter.h"
#include "networking/NetworkHttpTransport.h"
#include "platform/SettingsDefaultsStore.h"
#include "security/AdditionalExchangeAccount.h"
#include "security/LocalCredentialStore.h"
#include "store/PortfolioStore.h"

#include "support/LoopbackExchanges.h"
#include "support/ManualClock.h"
#include "support/OutputCapture.h"
#include "support/RecordingNotifier.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <sys/stat.h>

#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace vantrell {
namespace {

const QString extraOKXAccount = u"3B0F6A2E-9C41-4D7B-8E15-A0C2D4F61B98"_qs;

struct Account {
    Exchange exchange;
    std::optional<QString> id;  // absent: the exchange's main account
    LoopbackExchanges::Credentials credentials;
};

// Each secret and passphrase carries a tag that cannot occur in hex or Base64 digests by chance
// ("-" never appears in either), so even an escaped or cut-off copy is found. They contain
// characters that URL encoding changes, so an encoded copy differs from the plain one.
const std::vector<Account>& accounts()
{
    static const std::vector<Account> list = {
        {Exchange::binance,
         std::nullopt,
         {u"KEY-binance-1"_qs, u"SECRET-binance-7f3a-Qx+1="_qs, {}}},
        {Exchange::okx,
         std::nullopt,
         {u"KEY-okx-2"_qs, u"SECRET-okx-5d0e-Wm+2="_qs, u"PASSPHRASE-okx-3c9a-&x=2"_qs}},
        {Exchange::okx,
         extraOKXAccount,
         {u"KEY-okx-3"_qs, u"SECRET-okxextra-91be-Lk+3="_qs, u"PASSPHRASE-okxextra-e7d4-&y=3"_qs}},
        {Exchange::bybit, std::nullopt, {u"KEY-bybit-4"_qs, u"SECRET-bybit-2a6c-Tp+4="_qs, {}}},
        {Exchange::bitget,
         std::nullopt,
         {u"KEY-bitget-5"_qs, u"SECRET-bitget-64f1-Rv+5="_qs, u"PASSPHRASE-bitget-0b5f-&z=5"_qs}},
        {Exchange::gateio, std::nullopt, {u"KEY-gate-6"_qs, u"SECRET-gate-c8e2-Ns+6="_qs, {}}},
    };
    return list;
}

// Entered in the credential sheet but never saved: a connection test with a typing error.
LoopbackExchanges::Credentials mistyped(const LoopbackExchanges::Credentials& credentials)
{
    return {credentials.apiKey, credentials.secretKey + u"-typo-Jq"_qs,
            credentials.passphrase.isEmpty() ? QString() : credentials.passphrase + u"-typo-Jq"_qs};
}

// A secret or passphrase with the forms in which it could slip out.
struct Sensitive {
    QString text;
    std::vector<QByteArray> forms;

    explicit Sensitive(QString value) : text(std::move(value))
    {
        const QByteArray plain = text.toUtf8();
        const QByteArray encoded = QUrl::toPercentEncoding(text);
        forms = {plain, encoded, encoded.toLower(),
                 text.section(u'-', 0, 2).toUtf8()};  // the tag alone, e.g. "SECRET-okx-5d0e"
    }

    // The first form found in `bytes`, or nothing.
    std::optional<QByteArray> foundIn(const QByteArray& bytes) const
    {
        for (const QByteArray& form : forms) {
            if (bytes.contains(form)) {
                return form;
            }
        }
        return std::nullopt;
    }
};

std::vector<Sensitive> sensitiveValues()
{
    std::vector<Sensitive> values;
    for (const Account& account : accounts()) {
        for (const auto& credentials : {account.credentials, mistyped(account.credentials)}) {
            values.emplace_back(credentials.secretKey);
            if (!credentials.passphrase.isEmpty()) {
                values.emplace_back(credentials.passphrase);
            }
        }
    }
    return values;
}

// The header in which the exchange expects the account's passphrase.
std::optional<QByteArray> passphraseHeader(Exchange exchange)
{
    switch (exchange) {
        case Exchange::okx:
            return QByteArrayLiteral("OK-ACCESS-PASSPHRASE");
        case Exchange::bitget:
            return QByteArrayLiteral("ACCESS-PASSPHRASE");
        default:
            return std::nullopt;
    }
}

bool isOwnPassphrase(Exchange exchange, const RecordedRequest::Header& header)
{
    const std::optional<QByteArray> expected = passphraseHeader(exchange);
    if (!expected || header.first.compare(*expected, Qt::CaseInsensitive) != 0) {
        return false;
    }
    // A connection test sends the mistyped entries the same way.
    for (const Account& account : accounts()) {
        if (account.exchange == exchange &&
            (header.second == account.credentials.passphrase.toUtf8() ||
             header.second == mistyped(account.credentials).passphrase.toUtf8())) {
            return true;
        }
    }
    return false;
}

mode_t modeOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        ADD_FAILURE() << "cannot stat " << path.toStdString();
        return 0;
    }
    return info.st_mode & 07777;
}

class SecretsStayPrivateTest : public ::testing::Test {
protected:
    SecretsStayPrivateTest()
        : defaults(configFile()), exchanges(NetworkHttpTransport::shared(), clock)
    {
        LocalCredentialStore main(defaults);
        for (const Account& account : accounts()) {
            exchanges.accept(account.exchange, account.credentials);
            LocalCredentialStore scope = account.id ? main.forAccount(*account.id) : main;
            EXPECT_TRUE(LoopbackExchanges::store(scope, account.exchange, account.credentials));
        }
        EXPECT_TRUE(main.saveAccount({extraOKXAccount, Exchange::okx, u"副账户"_qs}));

        PortfolioStore::Services services(defaults, clock, notifier, SupportFolder(dataFolder()));
        services.writer = &writer;
        store = std::make_unique<PortfolioStore>(LocalCredentialStore(defaults),
                                                 exchanges.providerFactory(), std::move(services),
                                                 false);
    }

    // Where $XDG_CONFIG_HOME and $XDG_DATA_HOME would point.
    QString configFile() const { return home.path() + u"/config/Vantrell/Vantrell.conf"_qs; }
    QString dataFolder() const { return home.path() + u"/data/Vantrell"_qs; }

    bool refresh()
    {
        const bool finished = test::runTask(store->refreshNow(true)).succeeded();
        writer.flush();
        QCoreApplication::sendPostedEvents();
        return finished;
    }

    // Every text the store shows about the exchanges and its files.
    void collectShownTexts()
    {
        for (const auto& [exchange, status] : store->exchangeStatuses()) {
            shown << status.detail << status.state.message;
        }
        shown << store->exportError().value_or(QString()) << store->freshnessDescription();
        for (const auto& notification : notifier.notifications()) {
            shown << notification.title << notification.body;
        }
    }

    void testConnections()
    {
        for (const Account& account : accounts()) {
            if (account.id) {
                continue;  // the sheet tests the main account's entries
            }
            CredentialValues typed;
            const auto fields = LoopbackExchanges::fields(account.exchange);
            const LoopbackExchanges::Credentials wrong = mistyped(account.credentials);
            const QString values[] = {wrong.apiKey, wrong.secretKey, wrong.passphrase};
            for (std::size_t i = 0; i < fields.size(); ++i) {
                typed[fields[i]] = values[i];
            }
            for (const auto& credentials : {std::optional<LocalCredentialStore>(),
                                            std::optional(LocalCredentialStore(typed, defaults))}) {
                const auto result =
                    test::runTask(store->testConnection(account.exchange, credentials));
                connectionResults.push_back(result.value.value_or(
                    ConnectionTestResult::failure(u"the test did not finish"_qs)));
                shown << connectionResults.back().failureMessage.value_or(QString());
            }
        }
    }

    // One failure per value found, naming the form found.
    static void expectNothingSensitiveIn(const QByteArray& bytes, const QString& where)
    {
        std::set<QByteArray> found;  // a mistyped value shares its tag with the stored one
        for (const Sensitive& value : sensitiveValues()) {
            if (const auto form = value.foundIn(bytes); form && found.insert(*form).second) {
                ADD_FAILURE() << where.toStdString() << " holds " << form->toStdString();
            }
        }
    }

    void expectRequestsCarryNoSecret()
    {
        for (Exchange exchange : allExchanges) {
            const QList<RecordedRequest>& requests = exchanges.server(exchange).requests();
            EXPECT_FALSE(requests.isEmpty()) << toStored(exchange).toStdString();
            for (const RecordedRequest& request : requests) {
                const QString where = toStored(exchange) + u' ' +
                                      QString::fromLatin1(request.method + ' ' + request.path);
                expectNothingSensitiveIn(
                    request.method + ' ' + request.path + '?' + request.query + '\n' + request.body,
                    where);
                for (const RecordedRequest::Header& header : request.headers) {
                    if (isOwnPassphrase(exchange, header)) {
                        ++passphraseHeaders;
                        continue;
                    }
                    expectNothingSensitiveIn(
                        header.first + ": " + header.second,
                        where + u" header "_qs + QString::fromLatin1(header.first));
                }
            }
        }
    }

    // Every file under the temporary home except the defaults file, which is where they belong.
    void expectFilesHoldNoSecret(int atLeast)
    {
        QDirIterator files(home.path(), QDir::Files | QDir::Hidden | QDir::System,
                           QDirIterator::Subdirectories);
        int scanned = 0;
        while (files.hasNext()) {
            const QString path = files.next();
            if (path == configFile()) {
                continue;
            }
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            expectNothingSensitiveIn(path.toUtf8() + '\n' + file.readAll(), path);
            ++scanned;
        }
        EXPECT_GE(scanned, atLeast);
    }

    void expectNothingShownHoldsASecret()
    {
        for (const QString& text : shown) {
            expectNothingSensitiveIn(text.toUtf8(), u"shown text: "_qs + text);
        }
    }

    static void expectQuiet(const OutputCapture::Captured& printed)
    {
        expectNothingSensitiveIn(printed.output, u"standard output or error"_qs);
        for (const QString& message : printed.messages) {
            expectNothingSensitiveIn(message.toUtf8(), u"Qt message: "_qs + message);
        }
    }

    QTemporaryDir home;
    SettingsDefaultsStore defaults;
    ManualClock clock;
    RecordingNotifier notifier;
    PortfolioDiskWriter writer;
    LoopbackExchanges exchanges;
    std::unique_ptr<PortfolioStore> store;

    QStringList shown;
    std::vector<ConnectionTestResult> connectionResults;
    int passphraseHeaders = 0;
};

TEST_F(SecretsStayPrivateTest, SuccessfulRefreshKeepsThemToTheDefaultsFile)
{
    OutputCapture capture;
    const bool refreshed = refresh();
    store->addCapitalFlow(Decimal(250), clock.now());  // a history file, too
    writer.flush();
    QCoreApplication::sendPostedEvents();
    collectShownTexts();
    testConnections();
    const OutputCapture::Captured printed = capture.finish();

    ASSERT_TRUE(refreshed);
    for (Exchange exchange : allExchanges) {
        EXPECT_EQ(store->status(exchange).state, ExchangeRefreshStatus::State::connected())
            << toStored(exchange).toStdString() << ": "
            << store->status(exchange).detail.toStdString();
    }
    for (std::size_t i = 0; i < connectionResults.size(); i += 2) {
        EXPECT_TRUE(connectionResults[i].succeeded()) << "stored credentials, test " << i / 2;
        EXPECT_FALSE(connectionResults[i + 1].succeeded()) << "mistyped entries, test " << i / 2;
    }
    expectRequestsCarryNoSecret();
    // Both OKX accounts and Bitget sent their passphrases where their exchanges expect them.
    EXPECT_GT(passphraseHeaders, 0);
    expectFilesHoldNoSecret(2);  // the cache and the history
    expectNothingShownHoldsASecret();
    expectQuiet(printed);
}

TEST_F(SecretsStayPrivateTest, RefusedRequestsAndConnectionTestsKeepThemOutOfEveryMessage)
{
    ASSERT_TRUE(refresh());
    // The exchanges now expect other secrets: every signed request is refused with their 401.
    for (const Account& account : accounts()) {
        exchanges.acceptOnly(account.exchange,
                             {account.credentials.apiKey, u"SECRET-server-side-only"_qs,
                              account.credentials.passphrase});
    }
    clock.advance(60);

    OutputCapture capture;
    const bool refreshed = refresh();
    collectShownTexts();
    testConnections();
    const OutputCapture::Captured printed = capture.finish();

    ASSERT_TRUE(refreshed);
    for (Exchange exchange : allExchanges) {
        const ExchangeRefreshStatus status = store->status(exchange);
        EXPECT_EQ(status.state.kind, ExchangeRefreshStatus::State::Kind::failed)
            << toStored(exchange).toStdString();
        EXPECT_TRUE(status.detail.contains(u"HTTP 401"_qs)) << status.detail.toStdString();
    }
    ASSERT_EQ(connectionResults.size(), 10u);
    for (const ConnectionTestResult& result : connectionResults) {
        ASSERT_FALSE(result.succeeded());
        EXPECT_TRUE(result.failureMessage->contains(u"401"_qs))
            << result.failureMessage->toStdString();
    }
    expectRequestsCarryNoSecret();
    expectFilesHoldNoSecret(1);
    expectNothingShownHoldsASecret();
    expectQuiet(printed);
}

TEST_F(SecretsStayPrivateTest, DefaultsFileHoldingThemIsOwnerOnly)
{
    QFile file(configFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray contents = file.readAll();
    // They are there, so the searches of the other tests would find them.
    for (const Sensitive& value : sensitiveValues()) {
        if (!value.text.contains(u"-typo-"_qs)) {
            EXPECT_TRUE(value.foundIn(contents)) << value.text.toStdString();
        }
    }
    EXPECT_EQ(modeOf(configFile()), 0600u);
    EXPECT_EQ(modeOf(home.path() + u"/config/Vantrell"_qs), 0700u);

    ASSERT_TRUE(refresh());
    EXPECT_EQ(modeOf(dataFolder()), 0700u);
    EXPECT_EQ(modeOf(dataFolder() + u"/portfolio-cache.json"_qs), 0600u);
}

}  // namespace
}  // namespace vantrell
