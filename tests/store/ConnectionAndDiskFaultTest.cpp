// The fault-injection matrix's rows in which the connection or the disk fails: time-outs,
// refused and cut connections, and a data folder that cannot be written.

#include "store/FaultMatrix.h"

#include <chrono>
#include <map>

namespace vantrell {
namespace {

const QString networkFailed = u"默认账户：网络请求失败，请检查网络后重试，保留上次数据"_qs;
const QString cacheFailed = u"本地缓存保存失败，请检查可用空间和文件权限。"_qs;
const QString historyFailed = u"本地历史保存失败，请检查可用空间和文件权限。"_qs;

std::vector<Fault> connectionAndDiskFaults()
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
        // A reply trickled a byte at a time never falls silent; its deadline ends it, and the
        // cycle with it, so the next refresh asks every exchange again.
        {"TrickledReply",
         E::okx,
         [](FaultRun& run) {
             run.harness.shortenDeadline(E::okx, std::chrono::milliseconds(200));
             run.harness.server(E::okx).serve(
                 "GET", "/api/v5/account/balance",
                 LoopbackReply::endless(" ", std::chrono::milliseconds(10)));
         },
         K::failed,
         networkFailed,
         regularWait(10),
         {},
         Files::current,
         false,
         [](FaultRun& run) {
             std::map<Exchange, qsizetype> before;
             for (Exchange exchange : allExchanges) {
                 before[exchange] = run.harness.server(exchange).requests().size();
             }
             run.harness.refresh(*run.store, true);
             for (Exchange exchange : allExchanges) {
                 EXPECT_GT(run.harness.server(exchange).requests().size(), before[exchange])
                     << toStored(exchange).toStdString();
             }
         }},
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

class ConnectionAndDiskFaultTest : public FaultMatrixTest {};

TEST_P(ConnectionAndDiskFaultTest, KeepsTheLastGoodDataAndWholeFiles)
{
    keepsTheLastGoodDataAndWholeFiles();
}

INSTANTIATE_TEST_SUITE_P(Faults, ConnectionAndDiskFaultTest,
                         ::testing::ValuesIn(connectionAndDiskFaults()), faultName);

}  // namespace
}  // namespace vantrell
