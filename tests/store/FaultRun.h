#pragma once

// One row's world for the fault-injection matrix: a store over the loopback exchanges, and the
// faults and probes the rows share.

#include "models/Date.h"
#include "store/PortfolioStore.h"
#include "support/LoopbackServer.h"
#include "support/LoopbackStoreHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <memory>
#include <optional>

#include <unistd.h>

namespace vantrell::test {

// One row's world: the harness, its store and what a fault leaves behind.
struct FaultRun {
    explicit FaultRun(bool secondBinanceAccount)
        : harness(secondBinanceAccount),
          store(harness.makeStore()),
          filesFolder(harness.folderPath())
    {
    }
    ~FaultRun()
    {
        // A folder made read-only must be writable again for the temporary folder to go.
        if (QFileInfo(harness.folderPath()).isDir()) {
            QFile::setPermissions(harness.folderPath(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
    FaultRun(const FaultRun&) = delete;
    FaultRun& operator=(const FaultRun&) = delete;

    LoopbackStoreHarness harness;
    std::unique_ptr<PortfolioStore> store;
    std::unique_ptr<RefusingPort> refusingPort;
    QString filesFolder;  // where the data files are checked: the store's folder unless moved
    Date exchangeNow;     // the exchange's own time, for a row whose clock is wrong
};

inline LoopbackReply json(int status, const char* body)
{
    return LoopbackReply::json(status, QByteArray(body));
}

// A Binance that also rejects a request whose timestamp is more than a minute from its own time.
inline SignatureCheck rejectingClockSkew(SignatureCheck signature, Date exchangeNow)
{
    return [signature,
            exchangeNow](const RecordedRequest& request) -> std::optional<LoopbackReply> {
        if (std::optional<LoopbackReply> rejection = signature(request)) {
            return rejection;
        }
        for (const QByteArray& pair : request.query.split('&')) {
            if (!pair.startsWith("timestamp=")) {
                continue;
            }
            const QByteArray digits = pair.mid(10);
            qint64 milliseconds = 0;
            const auto parsed =
                std::from_chars(digits.data(), digits.data() + digits.size(), milliseconds);
            const double skew = std::abs(milliseconds / 1000.0 - exchangeNow.unixSeconds());
            if (parsed.ec != std::errc() || skew > 60) {
                return json(
                    400,
                    R"({"code":-1021,"msg":"Timestamp for this request is outside of the recvWindow."})");
            }
        }
        return std::nullopt;
    };
}

// Root ignores permissions, so for root a plain file takes the folder's place (the folder itself
// is moved aside, where its files are checked); either way nothing can be written there.
inline void makeFolderUnwritable(FaultRun& run)
{
    const QString folder = run.harness.folderPath();
    if (::geteuid() != 0) {
        ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        return;
    }
    run.filesFolder = folder + u"-moved"_qs;
    ASSERT_TRUE(QDir().rename(folder, run.filesFolder));
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
}

// Whether a refresh at the clock's time asks the exchange; when it does not, the exchange's
// status stays as it was.
inline bool asks(FaultRun& run, Exchange exchange, bool force)
{
    PortfolioStore& store = *run.store;
    bool asked = false;
    const QMetaObject::Connection watch =
        QObject::connect(&store, &PortfolioStore::exchangeStatusesChanged, &store, [&] {
            asked = asked || store.status(exchange).state.kind ==
                                 ExchangeRefreshStatus::State::Kind::connecting;
        });
    const ExchangeRefreshStatus before = store.status(exchange);
    run.harness.refresh(store, force);
    QObject::disconnect(watch);
    if (!asked) {
        EXPECT_EQ(store.status(exchange), before);
    }
    return asked;
}

}  // namespace vantrell::test
