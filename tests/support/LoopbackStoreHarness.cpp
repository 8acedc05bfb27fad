#include "support/LoopbackStoreHarness.h"

#include "files/PortfolioFiles.h"
#include "networking/NetworkHttpTransport.h"
#include "security/LocalCredentialStore.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QIODevice>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace vantrell::test {

namespace {

using Credentials = LoopbackExchanges::Credentials;

const Credentials binanceKeys{u"fixture-key"_qs, u"fixture-secret"_qs, {}};
const Credentials secondBinanceKeys{u"second-key"_qs, u"second-secret"_qs, {}};

// The main account's keys of every exchange.
const std::map<Exchange, Credentials>& mainKeys()
{
    static const std::map<Exchange, Credentials> keys = {
        {Exchange::binance, binanceKeys},
        {Exchange::okx, {u"fixture-key"_qs, u"okx-secret"_qs, u"okx-pass"_qs}},
        {Exchange::bybit, {u"bybit-key"_qs, u"bybit-secret"_qs, {}}},
        {Exchange::bitget, {u"bitget-key"_qs, u"bitget-secret"_qs, u"bitget-pass"_qs}},
        {Exchange::gateio, {u"gate-key"_qs, u"gate-secret"_qs, {}}},
    };
    return keys;
}

}  // namespace

const QString LoopbackStoreHarness::secondBinanceAccount =
    QStringLiteral("6F1E2C4A-0B7D-4E59-9C3A-2D8F5B1A7E60");
const QString LoopbackStoreHarness::secondBinanceAlias = QStringLiteral("副账户");

LoopbackStoreHarness::LoopbackStoreHarness(bool withSecondBinanceAccount)
    : m_exchanges(NetworkHttpTransport::shared(), clock, LoopbackExchanges::Replies::priced)
{
    LocalCredentialStore main(defaults);
    for (const auto& [exchange, keys] : mainKeys()) {
        m_exchanges.accept(exchange, keys);
        EXPECT_TRUE(LoopbackExchanges::store(main, exchange, keys));
    }
    if (withSecondBinanceAccount) {
        m_exchanges.accept(Exchange::binance, secondBinanceKeys);
        LocalCredentialStore second(defaults, secondBinanceAccount);
        EXPECT_TRUE(LoopbackExchanges::store(second, Exchange::binance, secondBinanceKeys));
        EXPECT_TRUE(
            main.saveAccount({secondBinanceAccount, Exchange::binance, secondBinanceAlias}));
    }
}

LoopbackStoreHarness::~LoopbackStoreHarness() = default;

SignatureCheck LoopbackStoreHarness::binanceSignature(bool withSecondAccount)
{
    return LoopbackExchanges::signatureCheck(
        Exchange::binance,
        withSecondAccount ? std::vector{binanceKeys, secondBinanceKeys} : std::vector{binanceKeys});
}

std::unique_ptr<PortfolioStore> LoopbackStoreHarness::makeStore()
{
    writer = std::make_unique<PortfolioDiskWriter>(
        [disk = m_disk](QIODevice& file, const QByteArray& data) {
            if (!disk->failing) {
                return file.write(data) == data.size();
            }
            const QByteArray half = data.left(data.size() / 2);
            const bool wroteHalf = file.write(half) == half.size();
            disk->cutShort += wroteHalf ? 1 : 0;
            return false;
        });
    PortfolioStore::Services services(defaults, clock, notifier, SupportFolder(folderPath()));
    services.writer = writer.get();
    services.timeZone = QTimeZone(QByteArrayLiteral("UTC"));
    return std::make_unique<PortfolioStore>(
        LocalCredentialStore(defaults), m_exchanges.providerFactory(), std::move(services), false);
}

void LoopbackStoreHarness::refresh(PortfolioStore& store, bool force)
{
    ASSERT_TRUE(runTask(store.refreshNow(force)).succeeded());
    writer->flush();
    QCoreApplication::sendPostedEvents();
}

QString LoopbackStoreHarness::folderPath() const
{
    return temporary.path() + u"/Vantrell"_qs;
}

QString LoopbackStoreHarness::cachePath() const
{
    return folderPath() + u'/' + PortfolioFiles::cacheFileName;
}

QString LoopbackStoreHarness::historyPath()
{
    return folderPath() + u"/portfolio-history-"_qs + identity() + u".json"_qs;
}

QString LoopbackStoreHarness::identity()
{
    return LocalCredentialStore(defaults).portfolioIdentity();
}

bool holdsTheSameData(const PortfolioSnapshot& a, const PortfolioSnapshot& b)
{
    return a.totalValue == b.totalValue && a.dailyPnL == b.dailyPnL &&
           a.dailyChangePercent == b.dailyChangePercent && a.exchanges == b.exchanges &&
           a.isLive == b.isLive &&
           std::is_permutation(a.positions.begin(), a.positions.end(), b.positions.begin(),
                               b.positions.end()) &&
           std::is_permutation(a.balances.begin(), a.balances.end(), b.balances.begin(),
                               b.balances.end());
}

}  // namespace vantrell::test
