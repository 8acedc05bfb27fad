#pragma once

// The fault-injection matrix: every way an exchange, the network or the disk can let a refresh
// down, one row each, against a store over the real connectors and loopback exchanges. Each row
// starts from a good refresh, breaks one thing, refreshes, and checks what the user is told, that
// the last good data stays, that the exchange is left alone for exactly as long as it should be,
// and that the files on disk are whole. The rows are split over test files by what they break;
// each file instantiates the fixture below with its own rows.

#include "files/PortfolioFiles.h"
#include "models/Date.h"
#include "models/JsonReader.h"
#include "store/FaultRun.h"
#include "store/PortfolioStore.h"
#include "support/LoopbackServer.h"
#include "support/LoopbackStoreHarness.h"
#include "support/ManualClock.h"
#include "support/OutputCapture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vantrell {

inline void PrintTo(const ExchangeRefreshStatus& status, std::ostream* os)
{
    *os << "{state " << static_cast<int>(status.state.kind) << " \""
        << status.state.message.toStdString() << "\", last success "
        << (status.lastSuccess ? std::to_string(status.lastSuccess->secondsSinceReferenceDate)
                               : std::string("none"))
        << ", detail \"" << status.detail.toStdString() << "\"}";
}

namespace {

using test::asks;
using test::FaultRun;
using test::holdsTheSameData;
using test::json;
using test::LoopbackStoreHarness;
using test::makeFolderUnwritable;
using test::rejectingClockSkew;
using Routes = LoopbackStoreHarness::Routes;
using State = ExchangeRefreshStatus::State;

// How long the exchange is left alone after the faulty refresh.
struct Wait {
    enum class Kind { none, regular, server };
    Kind kind = Kind::none;
    double seconds = 0;
};

inline Wait noWait()
{
    return {};
}

// The back-off: the timer leaves the exchange out, a forced refresh does not.
inline Wait regularWait(double seconds)
{
    return {Wait::Kind::regular, seconds};
}

// The server asked for it: not even a forced refresh asks before it is over.
inline Wait serverWait(double seconds)
{
    return {Wait::Kind::server, seconds};
}

// What is on disk after the faulty refresh.
enum class Files {
    current,        // the cache and the history hold the store's data as it is now
    asBefore,       // both hold the good refresh's bytes: nothing was written
    cacheIsFolder,  // the cache path stays a folder, the history is current
};

struct Fault {
    std::string name;
    Exchange exchange;  // whose status the row checks
    std::function<void(FaultRun&)> inject;
    State::Kind state;  // failed (last success kept) or connected (a success just now)
    QString detail;     // the status text, byte for byte
    Wait wait;
    std::vector<QString> fileErrors = {};  // every file failure reported, in order
    Files files = Files::current;
    bool secondBinanceAccount = false;
    std::function<void(FaultRun&)> afterwards = {};  // checks of the row's own
};

inline void PrintTo(const Fault& fault, std::ostream* os)
{
    *os << fault.name;
}

// The row's name in the test's name.
inline std::string faultName(const ::testing::TestParamInfo<Fault>& info)
{
    return info.param.name;
}

inline QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The record in the file, or nothing when the file is missing, cut short or malformed.
template <class Record>
std::optional<Record> decoded(const QString& path)
{
    try {
        return Record::fromJson(JsonReader::parse(contentsOf(path)));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

class FaultMatrixTest : public ::testing::TestWithParam<Fault> {
protected:
    void SetUp() override
    {
        run = std::make_unique<FaultRun>(GetParam().secondBinanceAccount);
        PortfolioStore& store = *run->store;
        run->harness.refresh(store, true);
        goodTime = run->harness.clock.now();
        good = store.snapshot();
        ASSERT_EQ(good.exchanges.size(), 5u);
        for (Exchange exchange : allExchanges) {
            ASSERT_EQ(store.status(exchange),
                      (ExchangeRefreshStatus{State::connected(), goodTime, {}}));
        }
        ASSERT_EQ(store.valueHistory().size(), 1u);
        ASSERT_FALSE(store.exportError());
        goodCache = contentsOf(run->harness.cachePath());
        goodHistory = contentsOf(run->harness.historyPath());
        ASSERT_FALSE(goodCache.isEmpty());
        ASSERT_FALSE(goodHistory.isEmpty());
        QObject::connect(&store, &PortfolioStore::exportErrorChanged, &store, [this] {
            fileErrors.push_back(run->store->exportError().value_or(u"(cleared)"_qs));
        });
    }

    // The row itself: the fault, the refresh, and every check of its outcome.
    void keepsTheLastGoodDataAndWholeFiles()
    {
        const Fault& fault = GetParam();
        PortfolioStore& store = *run->store;

        // Long enough after the good refresh for another history point.
        run->harness.clock.advance(600);
        fault.inject(*run);
        ASSERT_FALSE(HasFatalFailure());
        const Date faultTime = run->harness.clock.now();
        OutputCapture capture;
        run->harness.refresh(store, true);
        // Each reply ends once and quietly, whatever went wrong with it.
        const OutputCapture::Captured printed = capture.finish();
        EXPECT_TRUE(printed.messages.isEmpty()) << printed.messages.join(u'\n').toStdString();

        const ExchangeRefreshStatus expected =
            fault.state == State::Kind::failed
                ? ExchangeRefreshStatus{State::failed(fault.detail), goodTime, fault.detail}
                : ExchangeRefreshStatus{State::connected(), faultTime, fault.detail};
        EXPECT_EQ(store.status(fault.exchange), expected);
        EXPECT_TRUE(holdsTheSameData(store.snapshot(), good));
        for (Exchange exchange : allExchanges) {
            if (exchange != fault.exchange) {
                EXPECT_EQ(store.status(exchange),
                          (ExchangeRefreshStatus{State::connected(), faultTime, {}}))
                    << toStored(exchange).toStdString();
            }
        }
        EXPECT_EQ(fileErrors, fault.fileErrors);
        expectWholeFiles(fault.files);

        expectWait(fault.exchange, fault.wait, faultTime);
        if (fault.afterwards) {
            fault.afterwards(*run);
        }
    }

    // The files in the folder are the cache and the history, whole, and nothing else: no
    // temporary file was left behind.
    void expectWholeFiles(Files files)
    {
        const QString folder = run->filesFolder;
        const QString historyName = QFileInfo(run->harness.historyPath()).fileName();
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                         QDir::Name),
                  (QStringList{PortfolioFiles::cacheFileName, historyName}));
        const QString cache = folder + u'/' + PortfolioFiles::cacheFileName;
        if (files == Files::asBefore) {
            EXPECT_EQ(contentsOf(cache), goodCache);
            EXPECT_EQ(contentsOf(folder + u'/' + historyName), goodHistory);
            return;
        }
        if (files == Files::cacheIsFolder) {
            EXPECT_TRUE(QFileInfo(cache).isDir());
        } else {
            const std::optional<CachedPortfolioSnapshot> cached =
                decoded<CachedPortfolioSnapshot>(cache);
            ASSERT_TRUE(cached);
            EXPECT_EQ(cached->snapshot, run->store->snapshot());
            EXPECT_EQ(cached->savedAt, run->store->lastUpdated());
            EXPECT_EQ(cached->identity, run->harness.identity());
        }
        const std::optional<PortfolioHistory> history =
            decoded<PortfolioHistory>(folder + u'/' + historyName);
        ASSERT_TRUE(history);
        EXPECT_EQ(history->points, run->store->valueHistory());
    }

    // `since` is the time of the faulty refresh.
    void expectWait(Exchange exchange, const Wait& wait, Date since)
    {
        ManualClock& clock = run->harness.clock;
        const auto at = [&](double seconds) { clock.set(since.addingSeconds(seconds)); };
        switch (wait.kind) {
            case Wait::Kind::none:
                at(0.5);
                EXPECT_TRUE(asks(*run, exchange, false));
                break;
            case Wait::Kind::regular:
                at(wait.seconds - 0.5);
                EXPECT_FALSE(asks(*run, exchange, false));
                at(wait.seconds);
                EXPECT_TRUE(asks(*run, exchange, false));
                // That failed again; a forced refresh skips the new wait.
                at(wait.seconds + 0.5);
                EXPECT_TRUE(asks(*run, exchange, true));
                break;
            case Wait::Kind::server:
                at(wait.seconds - 0.5);
                EXPECT_FALSE(asks(*run, exchange, false));
                EXPECT_FALSE(asks(*run, exchange, true));
                at(wait.seconds);
                EXPECT_TRUE(asks(*run, exchange, true));
                break;
        }
    }

    std::unique_ptr<FaultRun> run;
    Date goodTime;
    PortfolioSnapshot good;
    QByteArray goodCache;
    QByteArray goodHistory;
    std::vector<QString> fileErrors;
};

}  // namespace
}  // namespace vantrell
