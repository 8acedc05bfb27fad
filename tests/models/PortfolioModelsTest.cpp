#include "models/CapitalFlow.h"
#include "models/ExchangeProviderSnapshot.h"
#include "models/JsonError.h"
#include "models/JsonReader.h"
#include "models/JsonWriter.h"
#include "models/PortfolioFilter.h"
#include "models/PortfolioSnapshot.h"
#include "settings/DisplayCurrency.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace vantrell {
namespace {

Decimal dec(std::string_view text)
{
    return Decimal::parse(text).value();
}

JsonValue str(const char* utf8)
{
    return JsonValue::string(std::string(utf8));
}

// The last member named `key`, for editing a parsed object in place.
JsonValue& member(JsonValue& object, std::string_view key)
{
    auto& members = object.members();
    for (auto it = members.rbegin(); it != members.rend(); ++it) {
        if (it->key == key) {
            return it->value;
        }
    }
    throw std::logic_error("no member " + std::string(key));
}

void erase(JsonValue& object, std::string_view key)
{
    std::erase_if(object.members(), [key](const JsonMember& m) { return m.key == key; });
}

Position btcLong()
{
    Position position;
    position.exchange = Exchange::binance;
    position.symbol = QStringLiteral("BTCUSDT");
    position.assetSymbol = QStringLiteral("BTC");
    position.side = PositionSide::long_;
    position.quantity = dec("0.00000001");
    position.entryPrice = dec("123456789.123456789");
    position.markPrice = dec("65000.5");
    position.unrealizedPnL = dec("-12.34");
    position.pnlPercent = dec("12.5");
    return position;
}

AssetBalance btcSpot()
{
    AssetBalance balance;
    balance.exchange = Exchange::binance;
    balance.accountType = AccountType::spot;
    balance.asset = QStringLiteral("BTC");
    balance.quantity = dec("1.5");
    balance.valueInUSD = dec("97500.75");
    return balance;
}

// What a connector returns: unstamped, no components, no retry delay.
ExchangeProviderSnapshot connectorSnapshot()
{
    ExchangeProviderSnapshot snapshot;
    snapshot.account.exchange = Exchange::binance;
    snapshot.account.totalValue = dec("97500.75");
    snapshot.account.accounts = {{AccountType::spot, dec("97500.75")},
                                 {AccountType::futures, dec("0")}};
    snapshot.balances = {btcSpot()};
    snapshot.positions = {btcLong()};
    snapshot.missingAccounts = {AccountType::funding};
    snapshot.positionsUnavailable = true;
    snapshot.unpricedAssets = {QStringLiteral("PEPE")};
    return snapshot;
}

// What the multi-account provider returns: stamped, with the per-connection snapshots.
ExchangeProviderSnapshot providerSnapshot()
{
    ExchangeProviderSnapshot snapshot = connectorSnapshot();
    snapshot.account.dailyChangePercent = dec("-0.25");
    snapshot.positions[0].accountID = snapshot.balances[0].accountID = QStringLiteral("binance");
    snapshot.positions[0].accountAlias = snapshot.balances[0].accountAlias =
        QStringLiteral("主账户");
    snapshot.positions[0].notionalValueUSD = dec("650.005");
    snapshot.missingAccounts = {AccountType::trading, AccountType::spot};
    snapshot.positionsUnavailable = false;
    snapshot.unpricedAssets = {QStringLiteral("PEPE"), QStringLiteral("PEPE")};
    snapshot.containsCachedAccounts = true;
    snapshot.accountsUnavailable = true;
    snapshot.accountWarnings = {QStringLiteral("副账户：读取失败，显示上次数据")};
    snapshot.components = std::map<QString, ExchangeProviderSnapshot>{
        {QStringLiteral("binance"), connectorSnapshot()},
        {QStringLiteral("9F1C-sub"), ExchangeProviderSnapshot{}},
    };
    snapshot.retryAfter = 30.5;
    return snapshot;
}

TEST(ProviderSnapshotJson, FullSnapshotSurvivesTextRoundTrip)
{
    const ExchangeProviderSnapshot snapshot = providerSnapshot();
    const QByteArray text = JsonWriter::write(snapshot.toJson());

    EXPECT_TRUE(text.contains("\"quantity\":0.00000001"));
    EXPECT_TRUE(text.contains("\"entryPrice\":123456789.123456789"));
    EXPECT_TRUE(text.contains("\"retryAfter\":30.5"));
    // Written in enumeration order whatever order the set was filled in.
    EXPECT_TRUE(text.contains(R"("missingAccounts":["现货","交易账户"])"));
    EXPECT_FALSE(text.contains("null"));  // absent optionals are left out, never null
    std::vector<std::string> keys;
    const JsonValue parsed = JsonReader::parse(text);
    for (const JsonMember& m : parsed.members()) {
        keys.push_back(m.key);
    }
    EXPECT_THAT(keys, ::testing::UnorderedElementsAre(
                          "account", "balances", "positions", "missingAccounts",
                          "positionsUnavailable", "unpricedAssets", "containsCachedAccounts",
                          "accountsUnavailable", "accountWarnings", "components", "retryAfter"));

    const auto decoded = ExchangeProviderSnapshot::fromJson(JsonReader::parse(text));
    EXPECT_EQ(decoded, snapshot);
    ASSERT_TRUE(decoded.components.has_value());
    EXPECT_EQ(decoded.components->at(QStringLiteral("binance")), connectorSnapshot());
    EXPECT_EQ(JsonWriter::write(decoded.toJson()), text);
}

struct DecodingCase {
    const char* name;
    std::function<void(JsonValue&)> edit;
    bool decodes;
    std::function<void(const ExchangeProviderSnapshot&)> check = {};
};

TEST(ProviderSnapshotJson, DecodingIsStrictAboutRequiredKeysOnly)
{
    const std::vector<DecodingCase> cases = {
        {"missing accountWarnings", [](JsonValue& j) { erase(j, "accountWarnings"); }, false},
        {"missing components and retryAfter",
         [](JsonValue& j) {
             erase(j, "components");
             erase(j, "retryAfter");
         },
         true,
         [](const ExchangeProviderSnapshot& s) {
             EXPECT_FALSE(s.components.has_value());
             EXPECT_FALSE(s.retryAfter.has_value());
         }},
        {"case name as exchange",
         [](JsonValue& j) { member(member(j, "account"), "exchange") = str("gateio"); }, false},
        {"stored name as exchange",
         [](JsonValue& j) { member(member(j, "account"), "exchange") = str("Gate.io"); }, true,
         [](const ExchangeProviderSnapshot& s) {
             EXPECT_EQ(s.account.exchange, Exchange::gateio);
         }},
        {"decimal as string",
         [](JsonValue& j) { member(member(j, "account"), "totalValue") = str("97500.75"); }, false},
        {"null in required key",
         [](JsonValue& j) { member(j, "positionsUnavailable") = JsonValue::null(); }, false},
        {"null optionals",
         [](JsonValue& j) {
             member(j, "retryAfter") = JsonValue::null();
             member(j, "components") = JsonValue::null();
             member(member(j, "account"), "dailyChangePercent") = JsonValue::null();
         },
         true,
         [](const ExchangeProviderSnapshot& s) {
             EXPECT_FALSE(s.retryAfter.has_value());
             EXPECT_FALSE(s.components.has_value());
             EXPECT_FALSE(s.account.dailyChangePercent.has_value());
         }},
        {"unknown keys",
         [](JsonValue& j) {
             j.insert("schemaVersion", JsonValue::number(2LL));
             member(j, "positions").items().front().insert("leverage", str("10x"));
         },
         true, [](const ExchangeProviderSnapshot& s) { EXPECT_EQ(s, providerSnapshot()); }},
        {"repeated missing accounts",
         [](JsonValue& j) {
             member(j, "missingAccounts") =
                 JsonValue::array({str("合约"), str("现货"), str("合约")});
         },
         true,
         [](const ExchangeProviderSnapshot& s) {
             EXPECT_EQ(s.missingAccounts,
                       (std::set<AccountType>{AccountType::spot, AccountType::futures}));
         }},
        {"bad side in a nested position",
         [](JsonValue& j) { member(member(j, "positions").items().front(), "side") = str("long"); },
         false},
        {"bad balance inside a component",
         [](JsonValue& j) {
             JsonValue& component = member(member(j, "components"), "binance");
             erase(member(component, "balances").items().front(), "valueInUSD");
         },
         false},
    };

    const JsonValue original = providerSnapshot().toJson();
    for (const DecodingCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Parse the written text so the tree holds exactly what a file would.
        JsonValue json = JsonReader::parse(JsonWriter::write(original));
        c.edit(json);
        if (!c.decodes) {
            EXPECT_THROW(ExchangeProviderSnapshot::fromJson(json), JsonDecodeError);
            continue;
        }
        ExchangeProviderSnapshot decoded;
        ASSERT_NO_THROW(decoded = ExchangeProviderSnapshot::fromJson(json));
        if (c.check) {
            c.check(decoded);
        }
    }
}

TEST(PortfolioSnapshotJson, ReadsEveryFieldNameAndNeedsIsLive)
{
    // Written by hand so a key misspelt the same way in both directions cannot go unnoticed.
    const std::string_view text =
        R"({"totalValue":1.5,"dailyPnL":-0.00000001,"dailyChangePercent":2,
        "exchanges":[{"exchange":"OKX","totalValue":1.5,"dailyChangePercent":3,
                      "accounts":[{"type":"资金账户","value":1.5}]}],
        "positions":[{"accountID":"okx","accountAlias":"A","exchange":"OKX","symbol":"BTC-USDT-SWAP",
                      "assetSymbol":"BTC","side":"SHORT","quantity":2,"entryPrice":3,"markPrice":4,
                      "unrealizedPnL":-5,"pnlPercent":6,"notionalValueUSD":7}],
        "balances":[{"accountID":"okx","accountAlias":"A","exchange":"OKX","accountType":"交易账户",
                     "asset":"ETH","quantity":8,"valueInUSD":9}],
        "isLive":true})";
    PortfolioSnapshot expected{
        .totalValue = dec("1.5"),
        .dailyPnL = dec("-0.00000001"),
        .dailyChangePercent = 2,
        .exchanges = {{Exchange::okx, dec("1.5"), 3, {{AccountType::funding, dec("1.5")}}}},
        .positions = {{QStringLiteral("okx"), QStringLiteral("A"), Exchange::okx,
                       QStringLiteral("BTC-USDT-SWAP"), QStringLiteral("BTC"), PositionSide::short_,
                       2, 3, 4, -5, 6, 7}},
        .balances = {{QStringLiteral("okx"), QStringLiteral("A"), Exchange::okx,
                      AccountType::trading, QStringLiteral("ETH"), 8, 9}},
        .isLive = true};
    const auto decoded = PortfolioSnapshot::fromJson(JsonReader::parse(text));
    EXPECT_EQ(decoded, expected);
    EXPECT_EQ(PortfolioSnapshot::fromJson(JsonReader::parse(JsonWriter::write(decoded.toJson()))),
              expected);

    EXPECT_EQ(JsonWriter::write(PortfolioSnapshot{}.toJson()),
              R"({"totalValue":0,"exchanges":[],"positions":[],"balances":[],"isLive":false})");
    JsonValue json = PortfolioSnapshot{}.toJson();
    erase(json, "isLive");
    EXPECT_THROW(PortfolioSnapshot::fromJson(json), JsonDecodeError);
}

TEST(CapitalFlowJson, RoundTripsWithUpperCaseIdAndNeedsEveryKey)
{
    const CapitalFlow flow{
        .id = Uuid::fromString(QStringLiteral("e621e1f8-c36c-495a-93fc-0c247a3e6e5f")).value(),
        .timestamp = Date{725846400.125},
        .amountUSD = dec("-2500.00000001")};
    const QByteArray text = JsonWriter::write(flow.toJson());
    EXPECT_TRUE(text.contains(R"("id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F")")) << text.data();
    EXPECT_TRUE(text.contains(R"("timestamp":725846400.125)")) << text.data();
    EXPECT_TRUE(text.contains(R"("amountUSD":-2500.00000001)")) << text.data();
    EXPECT_EQ(CapitalFlow::fromJson(JsonReader::parse(text)), flow);

    // Files written by hand or by an older build may carry a lower-case identifier.
    QByteArray lower = text;
    lower.replace("E621E1F8-C36C-495A-93FC-0C247A3E6E5F", "e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
    EXPECT_EQ(CapitalFlow::fromJson(JsonReader::parse(lower)), flow);

    for (const char* key : {"id", "timestamp", "amountUSD"}) {
        JsonValue json = flow.toJson();
        erase(json, key);
        EXPECT_THROW(CapitalFlow::fromJson(json), JsonDecodeError) << key;
    }
    JsonValue malformed = flow.toJson();
    member(malformed, "id") = str("E621E1F8C36C495A93FC0C247A3E6E5F");
    EXPECT_THROW(CapitalFlow::fromJson(malformed), JsonDecodeError);
}

TEST(PositionValue, UsesNonZeroNotionalElseQuantityTimesMark)
{
    struct Row {
        std::optional<const char*> notional;
        const char* quantity;
        const char* mark;
        const char* expected;
    };
    const Row rows[] = {
        {"0", "2", "30000.5", "60001"},         // zero notional means none reported
        {"-1500.25", "2", "30000", "1500.25"},  // a short's notional counts by size
        {std::nullopt, "-3", "100.1", "300.3"},
        {"250", "1", "9999", "250"},
    };
    for (const Row& row : rows) {
        Position position = btcLong();
        position.notionalValueUSD = row.notional ? std::optional(dec(*row.notional)) : std::nullopt;
        position.quantity = dec(row.quantity);
        position.markPrice = dec(row.mark);
        EXPECT_EQ(position.positionValueUSD(), dec(row.expected))
            << row.notional.value_or("none") << " " << row.quantity << " x " << row.mark;
    }
}

TEST(RecordIds, UseAccountIdOnceStampedElseTheStoredExchangeName)
{
    Position position = btcLong();
    EXPECT_EQ(position.id(), QStringLiteral("Binance-BTCUSDT-LONG"));
    position.accountID = QStringLiteral("binance");
    EXPECT_EQ(position.id(), QStringLiteral("binance-BTCUSDT-LONG"));
    Position other = position;
    other.quantity = dec("5");
    EXPECT_EQ(other.id(), position.id());  // ids are list identities, not keys

    Position gate = btcLong();
    gate.exchange = Exchange::gateio;
    gate.symbol = QStringLiteral("ETH_USDT");
    gate.side = PositionSide::short_;
    EXPECT_EQ(gate.id(), QStringLiteral("Gate.io-ETH_USDT-SHORT"));

    AssetBalance balance = btcSpot();
    EXPECT_EQ(balance.id(), QStringLiteral("Binance现货BTC"));
    balance.accountID = QStringLiteral("binance");
    EXPECT_EQ(balance.id(), QStringLiteral("binance现货BTC"));
}

TEST(StoredEnums, AcceptExactlyTheStoredStrings)
{
    for (Exchange exchange : allExchanges) {
        EXPECT_EQ(fromStored<Exchange>(toStored(exchange)), exchange);
    }
    for (DisplayCurrency currency : allDisplayCurrencies) {
        EXPECT_EQ(fromStored<DisplayCurrency>(toStored(currency)), currency);
    }
    EXPECT_EQ(caseName(Exchange::gateio), QStringLiteral("gateio"));
    EXPECT_FALSE(fromStored<Exchange>(u"gateio").has_value());
    EXPECT_FALSE(fromStored<Exchange>(u"BINANCE").has_value());
    EXPECT_EQ(fromStored<AccountType>(u"交易账户"), AccountType::trading);
    EXPECT_FALSE(fromStored<PositionSide>(u"Short").has_value());
    EXPECT_FALSE(fromStored<DisplayCurrency>(u"usd").has_value());
}

TEST(PortfolioFilterEquality, AbsentAccountEqualsOnlyAbsent)
{
    const PortfolioFilter empty;
    PortfolioFilter account = empty;
    account.accountID = QStringLiteral("binance");
    EXPECT_NE(empty, account);
    PortfolioFilter sameAccount = account;
    EXPECT_EQ(account, sameAccount);
    sameAccount.accountID = QStringLiteral("Binance");
    EXPECT_NE(account, sameAccount);
    PortfolioFilter emptyAccount = empty;
    emptyAccount.accountID = QString();
    EXPECT_NE(empty, emptyAccount);
}

}  // namespace
}  // namespace vantrell
