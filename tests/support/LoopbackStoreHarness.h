#pragma once

#include "files/PortfolioDiskWriter.h"
#include "models/Exchange.h"
#include "models/PortfolioSnapshot.h"
#include "platform/MemoryDefaultsStore.h"
#include "store/PortfolioStore.h"
#include "support/ExchangeFixtureServer.h"
#include "support/LoopbackExchanges.h"
#include "support/ManualClock.h"
#include "support/RecordingNotifier.h"

#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <memory>

namespace vantrell::test {

// A portfolio store over the real connectors and the real network stack, each exchange played
// by a loopback fixture server (LoopbackExchanges) that checks its signatures and serves its
// recorded replies, with an in-memory defaults store, a manual clock and a temporary data folder.
//
// All five exchanges are configured; Binance optionally has a second account with keys of its
// own. The recorded replies are served without their unpriced assets, so every exchange's
// result is complete and a refresh earns a history point.
//
// Tests break one exchange at a time: fail its routes, point its connectors at a port that
// refuses connections, shorten its time-out, or make the disk writer give up half-way.
class LoopbackStoreHarness {
public:
    using Routes = LoopbackExchanges::Routes;

    static const QString secondBinanceAccount;  // the additional account's id
    static const QString secondBinanceAlias;    // "副账户"

    explicit LoopbackStoreHarness(bool withSecondBinanceAccount = true);
    ~LoopbackStoreHarness();
    LoopbackStoreHarness(const LoopbackStoreHarness&) = delete;
    LoopbackStoreHarness& operator=(const LoopbackStoreHarness&) = delete;

    // A store over the data folder that only loads, with a writer of its own (a writer keeps
    // revisions per file across stores). The harness must outlive it.
    std::unique_ptr<PortfolioStore> makeStore();
    // One whole refresh cycle, then the file writes it asked for and their outcomes.
    void refresh(PortfolioStore& store, bool force);

    ExchangeFixtureServer& server(Exchange exchange) { return m_exchanges.server(exchange); }
    // Every recorded route of the exchange (or only its signed ones) answers `reply` from now
    // on; the public replies cached so far are forgotten.
    void failRoutes(Exchange exchange, const LoopbackReply& reply, Routes which = Routes::all)
    {
        m_exchanges.failRoutes(exchange, reply, which);
    }
    // From the next refresh on, the exchange's connectors talk to `baseURL`.
    void pointAt(Exchange exchange, const QString& baseURL)
    {
        m_exchanges.pointAt(exchange, baseURL);
    }
    // From the next refresh on, the exchange talks TLS with a new server of the same replies.
    void serveOverTls(Exchange exchange) { m_exchanges.serveOverTls(exchange); }
    // From the next refresh on, the exchange's requests give up after `silence` without data
    // instead of the connectors' 12 seconds.
    void shortenTimeout(Exchange exchange, std::chrono::milliseconds silence)
    {
        m_exchanges.shortenTimeout(exchange, silence);
    }
    // From the next refresh on, the exchange's requests give up after `total` in all, however
    // steadily their bytes come.
    void shortenDeadline(Exchange exchange, std::chrono::milliseconds total)
    {
        m_exchanges.shortenDeadline(exchange, total);
    }
    // While set, every file write stops half-way through its bytes and fails.
    void failWritesHalfWay(bool failing) { m_disk->failing = failing; }
    // How many writes were cut short so far.
    int writesCutShort() const { return m_disk->cutShort; }

    // Binance's signature rule for the main keys, and for the second account's keys as well.
    static SignatureCheck binanceSignature(bool withSecondAccount);

    QString folderPath() const;
    QString cachePath() const;
    QString historyPath();
    QString identity();
    // Every request the five servers received.
    qsizetype requestCount() const { return m_exchanges.requestCount(); }

    QTemporaryDir temporary;
    MemoryDefaultsStore defaults;
    ManualClock clock;
    RecordingNotifier notifier;
    std::unique_ptr<PortfolioDiskWriter> writer;

private:
    struct Disk {
        std::atomic<bool> failing{false};
        std::atomic<int> cutShort{0};
    };

    LoopbackExchanges m_exchanges;
    std::shared_ptr<Disk> m_disk = std::make_shared<Disk>();
};

// The same portfolio: equal totals and accounts, and the same rows. The order of the rows
// follows the order in which the exchanges' results arrived, which the network decides.
bool holdsTheSameData(const PortfolioSnapshot& a, const PortfolioSnapshot& b);

}  // namespace vantrell::test
