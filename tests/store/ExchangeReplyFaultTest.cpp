// The fault-injection matrix's rows in which an exchange answers, but not with the data asked
// for: rate limits, error statuses and envelopes, malformed data, refused optional calls, one of
// two accounts refused, and a request refused for the machine's wrong clock.

#include "store/FaultMatrix.h"

#include <algorithm>

namespace vantrell {
namespace {

const QString binanceFutures =
    u"默认账户：持仓接口未更新，保留上次持仓。默认账户：部分接口失败，保留完整数据"_qs;
const QString rateLimited = u"默认账户：请求频率受限，保留上次数据"_qs;
const QString unsupportedData = u"默认账户：交易所返回的数据格式暂不支持，保留上次数据"_qs;
const QString exchangeRefused =
    u"默认账户：交易所拒绝请求，请检查只读权限、账户模式和 API 配置，保留上次数据"_qs;

std::vector<Fault> exchangeReplyFaults()
{
    using E = Exchange;
    using K = State::Kind;
    return {
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
    };
}

class ExchangeReplyFaultTest : public FaultMatrixTest {};

TEST_P(ExchangeReplyFaultTest, KeepsTheLastGoodDataAndWholeFiles)
{
    keepsTheLastGoodDataAndWholeFiles();
}

INSTANTIATE_TEST_SUITE_P(Faults, ExchangeReplyFaultTest, ::testing::ValuesIn(exchangeReplyFaults()),
                         faultName);

// Gate refuses both futures calls of an account that never opened futures with 400
// "USER_NOT_FOUND": a complete spot-only result, which earns a history point. Any other refusal
// of those calls still leaves futures missing, and the earlier data stays.
TEST(ExchangeReplyFaultGateTest, FuturesNeverOpenedIsCompleteAnotherRefusalIsNot)
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
