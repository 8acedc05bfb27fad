// Every way an exchange, the network or the disk can let a refresh down, one row each, against a
// store over the real connectors and loopback exchanges. Each row starts from a good refresh,
// breaks one thing, refreshes, and checks what the user is told, that the last good data stays,
// that the exchange is left alone for exactly as long as it should be, and that the files on disk
// are whole.

#include "store/PortfolioStore.h"

#include "files/PortfolioFiles.h"
#include "models/Date.h"
#include "models/JsonReader.h"

#include "store/FaultRun.h"
#include "support/LoopbackServer.h"
#include "support/LoopbackStoreHarness.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace vantrell {

void PrintTo(const ExchangeRefreshStatus& status, std::ostream* os)
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

const QString cacheFailed = u"本地缓存保存失败，请检查可用空间和文件权限。"_qs;
const QString historyFailed = u"本地历史保存失败，请检查可用空间和文件权限。"_qs;

// How long the exchange is left alone after the faulty refresh.
struct Wait {
    enum class Kind { none, regular, server };
    Kind kind = Kind::none;
    double seconds = 0;
};

Wait noWait()
{
    return {};
}

// The back-off: the timer leaves the exchange out, a forced refresh does not.
Wait regularWait(double seconds)
{
    return {Wait::Kind::regular, seconds};
}

// The server asked for it: not even a forced refresh asks before it is over.
Wait serverWait(double seconds)
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

void PrintTo(const Fault& fault, std::ostream* os)
{
    *os << fault.name;
}

const QString binanceFutures =
    u"默认账户：持仓接口未更新，保留上次持仓。默认账户：部分接口失败，保留完整数据"_qs;
const QString rateLimited = u"默认账户：请求频率受限，保留上次数据"_qs;
const QString networkFailed = u"默认账户：网络请求失败，请检查网络后重试，保留上次数据"_qs;
const QString unsupportedData = u"默认账户：交易所返回的数据格式暂不支持，保留上次数据"_qs;
const QString exchangeRefused =
    u"默认账户：交易所拒绝请求，请检查只读权限、账户模式和 API 配置，保留上次数据"_qs;

std::vector<Fault> faults()
{
    using E = Exchange;
    using K = State::Kind;
    return {
        {"TimeOut", E::okx,
         [](FaultRun& run) {
             run.harness.shortenTimeout(E::okx, std::chrono::milliseconds(250));
             run.harness.server(E::okx).serve("GET", "/api/v5/account/balance",
                                              LoopbackReply::never());
         },
         K::failed, networkFailed, regularWait(10)},
        {"RefusedConnection", E::bybit,
         [](FaultRun& run) {
             run.refusingPort = std::make_unique<RefusingPort>();
             run.harness.pointAt(E::bybit, run.refusingPort->baseUrl().toString());
         },
         K::failed, networkFailed, regularWait(10)},
        {"ConnectionClosedMidBody", E::gateio,
         [](FaultRun& run) {
             const QByteArray body = ExchangeFixtureServer::fixture(u"gate/spot_accounts.json"_qs);
             run.harness.server(E::gateio).serve("GET", "/api/v4/spot/accounts",
                                                 LoopbackReply::json(200, body).truncated());
         },
         K::failed, networkFailed, regularWait(10)},
        {"Status418WithRetryAfter", E::binance,
         [](FaultRun& run) {
             run.harness.failRoutes(
                 E::binance,
                 json(418, R"({"code":-1003,"msg":"Way too much request weight used; IP banned."})")
                     .withHeader("Retry-After", "120"));
         },
         K::failed, rateLimited, serverWait(120)},
        {"Status418WithoutRetryAfter", E::binance,
         [](FaultRun& run) {
             run.harness.failRoutes(
                 E::binance,
                 json(418,
                      R"({"code":-1003,"msg":"Way too much request weight used; IP banned."})"));
         },
         K::failed, rateLimited, serverWait(60)},
        {"Status429WithRetryAfter", E::okx,
         [](FaultRun& run) {
             run.harness.failRoutes(
                 E::okx, json(429, R"({"code":"50011","msg":"Too Many Requests","data":[]})")
                             .withHeader("Retry-After", "45"));
         },
         K::failed, rateLimited, serverWait(45)},
        {"Status429WithoutRetryAfter", E::bitget,
         [](FaultRun& run) {
             run.harness.failRoutes(
                 E::bitget, json(429, R"({"code":"429","msg":"Too Many Requests","data":null})"));
         },
         K::failed, rateLimited, serverWait(60)},
        // Bitget falls back to its classic account, which fails the same way.
        {"Status5xxWithHtmlPage", E::bitget,
         [](FaultRun& run) {
             run.harness.failRoutes(E::bitget,
                                    LoopbackReply::html(502,
                                                        "<html><head><title>502 Bad Gateway</title>"
                                                        "</head><body><h1>502 Bad Gateway</h1>"
                                                        "</body></html>"));
         },
         K::failed, u"默认账户：HTTP 502，请检查权限或网络，保留上次数据"_qs, regularWait(10)},
        {"TruncatedJsonIn2xx", E::bybit,
         [](FaultRun& run) {
             const QByteArray body =
                 ExchangeFixtureServer::fixture(u"bybit/wallet_balance.json"_qs);
             run.harness.server(E::bybit).serve(
                 "GET", "/v5/account/wallet-balance",
                 LoopbackReply::json(200, body.left(body.size() / 2)));
         },
         K::failed, unsupportedData, regularWait(10)},
        {"NumberWhereTextIsExpected", E::gateio,
         [](FaultRun& run) {
             run.harness.server(E::gateio).serve(
                 "GET", "/api/v4/spot/accounts",
                 json(200, R"([{"currency":"USDT","available":1000.25,"locked":"0"}])"));
         },
         K::failed, unsupportedData, regularWait(10)},
        // The exchange's own message never reaches the status: the account's line names the
        // status code, or the generic refusal for an error inside a 2xx envelope.
        {"BinanceErrorCodeAndMessage", E::binance,
         [](FaultRun& run) {
             run.harness.failRoutes(
                 E::binance,
                 json(401,
                      R"({"code":-2015,"msg":"Invalid API-key, IP, or permissions for action."})"),
                 Routes::signedOnly);
         },
         K::failed, u"默认账户：HTTP 401，请检查权限或网络，保留上次数据"_qs, regularWait(10)},
        {"OkxErrorEnvelope", E::okx,
         [](FaultRun& run) {
             run.harness.failRoutes(E::okx,
                                    json(200, R"({"code":"50113","msg":"Invalid Sign","data":[]})"),
                                    Routes::signedOnly);
         },
         K::failed, exchangeRefused, regularWait(10)},
        {"BybitErrorEnvelope", E::bybit,
         [](FaultRun& run) {
             run.harness.failRoutes(
                 E::bybit,
                 json(200,
                      R"({"retCode":10003,"retMsg":"API key is invalid.","result":{"list":[]}})"),
                 Routes::signedOnly);
         },
         K::failed, exchangeRefused, regularWait(10)},
        {"BitgetErrorEnvelope", E::bitget,
         [](FaultRun& run) {
             run.harness.failRoutes(
                 E::bitget,
                 json(200, R"({"code":"40037","msg":"Apikey does not exist","data":null})"),
                 Routes::signedOnly);
         },
         K::failed, exchangeRefused, regularWait(10)},
        {"GateErrorLabelAndMessage", E::gateio,
         [](FaultRun& run) {
             run.harness.failRoutes(
                 E::gateio, json(403, R"({"label":"FORBIDDEN","message":"Key has no permission"})"),
                 Routes::signedOnly);
         },
         K::failed, u"默认账户：HTTP 403，请检查权限或网络，保留上次数据"_qs, regularWait(10)},
        // Only 418 and 429 are rate limits. A rate-limit code inside a 2xx reply is an ordinary
        // refusal: the regular back-off applies, and a forced refresh asks again at once.
        {"RateLimitCodeInside2xxEnvelope", E::bybit,
         [](FaultRun& run) {
             run.harness.failRoutes(
                 E::bybit,
                 json(200, R"({"retCode":10006,"retMsg":"Too many visits!","result":{"list":[]}})"),
                 Routes::signedOnly);
         },
         K::failed, exchangeRefused, regularWait(10)},
        // A key without futures access: the account's earlier complete result is kept whole.
        {"OptionalFuturesCallsRefused", E::binance,
         [](FaultRun& run) {
             const LoopbackReply refusal = json(
                 401, R"({"code":-2015,"msg":"Invalid API-key, IP, or permissions for action."})");
             run.harness.server(E::binance).serve("GET", "/fapi/v3/account", refusal);
             run.harness.server(E::binance).serve("GET", "/fapi/v3/positionRisk", refusal);
         },
         K::failed, binanceFutures, regularWait(10)},
        // Positions alone refused: the new balances are taken with the earlier positions, and
        // the exchange counts as connected, with a warning and without a back-off.
        {"OptionalPositionsCallRefused", E::okx,
         [](FaultRun& run) {
             run.harness.server(E::okx).serve(
                 "GET", "/api/v5/account/positions",
                 json(401, R"({"code":"50120","msg":"API key doesn't have permission"})"));
         },
         K::connected, u"默认账户：持仓接口未更新，保留上次持仓"_qs, noWait()},
        // Over TLS, as the real exchange talks, both accounts' calls share one host. The
        // second account's funding call has its connection closed without a reply: that
        // account fails, and every call of the main account is still answered.
        {"ConnectionClosedWithoutReply",
         E::binance,
         [](FaultRun& run) {
             run.harness.serveOverTls(E::binance);
             ExchangeFixtureServer& server = run.harness.server(E::binance);
             const QByteArray funding = "/sapi/v1/asset/get-funding-asset";
             server.serve(
                 "POST", funding,
                 [recorded = server.handlerOf("POST", funding)](const RecordedRequest& request) {
                     return request.header("X-MBX-APIKEY") == "second-key"
                                ? LoopbackReply::closeUnanswered()
                                : recorded(request);
                 });
         },
         K::failed,
         u"副账户：网络请求失败，请检查网络后重试，保留上次数据"_qs,
         regularWait(10),
         {},
         Files::current,
         true},
        {"OneOfTwoAccountsFails",
         E::binance,
         [](FaultRun& run) {
             // The second account's key was revoked.
             run.harness.server(E::binance)
                 .setSignatureCheck(LoopbackStoreHarness::binanceSignature(false));
         },
         K::failed,
         u"副账户：HTTP 401，请检查权限或网络，保留上次数据"_qs,
         regularWait(10),
         {},
         Files::current,
         true},
        {"ClockFarAhead",
         E::binance,
         [](FaultRun& run) {
             run.exchangeNow = run.harness.clock.now();
             run.harness.server(E::binance)
                 .setSignatureCheck(rejectingClockSkew(
                     LoopbackStoreHarness::binanceSignature(false), run.exchangeNow));
             run.harness.clock.advance(365 * 86400.0);
         },
         K::failed,
         u"默认账户：HTTP 400，请检查权限或网络，保留上次数据"_qs,
         regularWait(10),
         {},
         Files::current,
         false,
         [](FaultRun& run) {
             // The clock is put right. The back-off was counted from the wrong time; it no
             // longer holds, so the timer asks Binance again at once.
             run.harness.clock.set(run.exchangeNow.addingSeconds(30));
             EXPECT_TRUE(asks(run, E::binance, false));
             EXPECT_EQ(run.store->status(E::binance),
                       (ExchangeRefreshStatus{State::connected(), run.harness.clock.now(), {}}));
         }},
        {"SupportFolderReadOnly",
         E::binance,
         makeFolderUnwritable,
         K::connected,
         {},
         noWait(),
         {historyFailed, cacheFailed},
         Files::asBefore},
        {"CacheFileReplacedByFolder",
         E::binance,
         [](FaultRun& run) {
             ASSERT_TRUE(QFile::remove(run.harness.cachePath()));
             ASSERT_TRUE(QDir().mkdir(run.harness.cachePath()));
         },
         K::connected,
         {},
         noWait(),
         {cacheFailed},
         Files::cacheIsFolder},
        {"DiskWriterFailsHalfWay",
         E::binance,
         [](FaultRun& run) { run.harness.failWritesHalfWay(true); },
         K::connected,
         {},
         noWait(),
         {historyFailed, cacheFailed},
         Files::asBefore,
         false,
         [](FaultRun& run) {
             // The fault did strike: both writes had put bytes into their temporary files.
             EXPECT_GE(run.harness.writesCutShort(), 2);
         }},
    };
}

QByteArray contentsOf(const QString& path)
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

class FaultInjectionMatrixTest : public ::testing::TestWithParam<Fault> {
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

TEST_P(FaultInjectionMatrixTest, KeepsTheLastGoodDataAndWholeFiles)
{
    const Fault& fault = GetParam();
    PortfolioStore& store = *run->store;

    // Long enough after the good refresh for another history point.
    run->harness.clock.advance(600);
    fault.inject(*run);
    ASSERT_FALSE(HasFatalFailure());
    const Date faultTime = run->harness.clock.now();
    run->harness.refresh(store, true);

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

INSTANTIATE_TEST_SUITE_P(Faults, FaultInjectionMatrixTest, ::testing::ValuesIn(faults()),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                             return info.param.name;
                         });

// Gate refuses both futures calls of an account that never opened futures with 400
// "USER_NOT_FOUND": a complete spot-only result, which earns a history point. Any other refusal
// of those calls still leaves futures missing, and the earlier data stays.
TEST(FaultInjectionMatrixGateTest, FuturesNeverOpenedIsCompleteAnotherRefusalIsNot)
{
    struct Row {
        const char* name;
        QByteArray body;
        bool complete;
    };
    const Row rows[] = {
        {"never opened", ExchangeFixtureServer::fixture(u"gate/futures_user_not_found.json"_qs),
         true},
        {"another label", R"({"label":"INVALID_PARAM_VALUE","message":"invalid settle"})", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FaultRun run(false);
        PortfolioStore& store = *run.store;
        run.harness.refresh(store, true);
        const Date goodTime = run.harness.clock.now();
        const PortfolioSnapshot good = store.snapshot();
        run.harness.clock.advance(600);
        for (const QByteArray path :
             {"/api/v4/futures/usdt/accounts", "/api/v4/futures/usdt/positions"}) {
            run.harness.server(Exchange::gateio)
                .serve("GET", path, LoopbackReply::json(400, row.body));
        }
        run.harness.refresh(store, true);

        if (!row.complete) {
            const QString missing =
                u"默认账户：持仓接口未更新，保留上次持仓。默认账户：部分接口失败，保留完整数据"_qs;
            EXPECT_EQ(store.status(Exchange::gateio),
                      (ExchangeRefreshStatus{State::failed(missing), goodTime, missing}));
            EXPECT_TRUE(holdsTheSameData(store.snapshot(), good));
            EXPECT_EQ(store.valueHistory().size(), 1u);
            continue;
        }
        EXPECT_EQ(store.status(Exchange::gateio),
                  (ExchangeRefreshStatus{State::connected(), run.harness.clock.now(), {}}));
        EXPECT_TRUE(store.hasFreshCompleteData());
        ASSERT_EQ(store.valueHistory().size(), 2u);
        EXPECT_EQ(store.valueHistory().back().totalValue, store.snapshot().totalValue);
        const auto gate = std::find_if(
            store.snapshot().exchanges.begin(), store.snapshot().exchanges.end(),
            [](const ExchangeAccount& account) { return account.exchange == Exchange::gateio; });
        ASSERT_NE(gate, store.snapshot().exchanges.end());
        const AccountBreakdown noFutures{AccountType::futures, Decimal()};
        EXPECT_NE(std::find(gate->accounts.begin(), gate->accounts.end(), noFutures),
                  gate->accounts.end());
        EXPECT_TRUE(std::none_of(
            store.snapshot().positions.begin(), store.snapshot().positions.end(),
            [](const Position& position) { return position.exchange == Exchange::gateio; }));
    }
}

}  // namespace
}  // namespace vantrell
