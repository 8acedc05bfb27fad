#include "settings/ReferenceRates.h"

#include "platform/MemoryDefaultsStore.h"
#include "settings/AppSettings.h"
#include "support/FakeHttpTransport.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

#include <memory>

#include <optional>
#include <string>
#include <vector>

using namespace vantrell;

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(std::string_view(text));
}

// The shape of the daily file as the central bank serves it (shortened).
const QByteArray dailyFile = R"(<?xml version="1.0" encoding="UTF-8"?>
<gesmes:Envelope xmlns:gesmes="http://www.gesmes.org/xml/2002-08-01" xmlns="http://www.ecb.int/vocabulary/2002-08-01/eurofxref">
	<gesmes:subject>Reference rates</gesmes:subject>
	<gesmes:Sender>
		<gesmes:name>European Central Bank</gesmes:name>
	</gesmes:Sender>
	<Cube>
		<Cube time='2024-05-17'>
			<Cube currency='USD' rate='1.0867'/>
			<Cube currency='JPY' rate='169.11'/>
			<Cube currency='CNY' rate='7.8468'/>
			<Cube currency='HKD' rate='8.4795'/>
		</Cube>
	</Cube>
</gesmes:Envelope>
)";

}  // namespace

TEST(ReferenceRatesTest, ParsesDailyFile)
{
    const std::optional<CurrencyRates> rates = ReferenceRates::parse(dailyFile);
    ASSERT_TRUE(rates);
    const CurrencyRates expected{{"EUR", dec("1")},
                                 {"USD", dec("1.0867")},
                                 {"JPY", dec("169.11")},
                                 {"CNY", dec("7.8468")},
                                 {"HKD", dec("8.4795")}};
    EXPECT_EQ(*rates, expected);
}

TEST(ReferenceRatesTest, AcceptsOnlyCompleteFiles)
{
    const QByteArray required =
        "<Cube currency='USD' rate='1.25'/><Cube currency='CNY' rate='8'/>"
        "<Cube currency='HKD' rate='9.75'/>";
    struct Row {
        const char* name;
        QByteArray body;
        std::optional<CurrencyRates> expected;
    };
    const CurrencyRates base{
        {"EUR", dec("1")}, {"USD", dec("1.25")}, {"CNY", dec("8")}, {"HKD", dec("9.75")}};
    auto with = [&](const char* code, const char* rate) {
        CurrencyRates rates = base;
        rates.insert(QString::fromLatin1(code), dec(rate));
        return rates;
    };
    const std::vector<Row> rows = {
        {"no HKD", "<Cube currency='USD' rate='1.25'/><Cube currency='CNY' rate='8'/>",
         std::nullopt},
        {"double quotes, tabs and new lines between the attributes",
         "<Cube currency=\"USD\"\t rate=\"1.25\"/><Cube currency='CNY'\n\n rate=\"8\"/>"
         "<Cube currency=\"HKD\"  rate='9.75'/>",
         base},
        {"no blank between the attributes", "<Cube currency='USD'rate='1.25'/>" + required, base},
        {"a rate that is not a number is skipped", required + "<Cube currency='JPY' rate='.'/>",
         base},
        {"a required rate that is not a number rejects the file",
         "<Cube currency='USD' rate='1..2'/><Cube currency='CNY' rate='8'/>"
         "<Cube currency='HKD' rate='9.75'/>",
         std::nullopt},
        {"lower-case attributes and codes do not match",
         "<Cube CURRENCY='USD' rate='1.25'/><Cube currency='usd' rate='1.25'/>"
         "<Cube currency='CNY' rate='8'/><Cube currency='HKD' rate='9.75'/>",
         std::nullopt},
        {"a later pair replaces an earlier one", required + "<Cube currency='USD' rate='1.5'/>",
         with("USD", "1.5")},
        {"a quoted EUR replaces the seed", required + "<Cube currency='EUR' rate='0.5'/>",
         with("EUR", "0.5")},
        {"any code of three capitals enters", required + "<Cube currency='XAU' rate='0.0004'/>",
         with("XAU", "0.0004")},
        {"invalid UTF-8", required + "\xff\xfe", std::nullopt},
        {"UTF-8 cut inside a character", required + "\xe2\x82", std::nullopt},
        {"an HTML error page",
         "<!DOCTYPE html><html><head><title>503 Service Unavailable</title></head>"
         "<body><h1>Service Unavailable</h1></body></html>",
         std::nullopt},
        {"empty body", "", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReferenceRates::parse(row.body), row.expected);
    }
}

TEST(ReferenceRatesTest, AcceptsOnlySuccessfulHttpReplies)
{
    struct Row {
        std::optional<int> status;
        bool accepted;
    };
    const std::vector<Row> rows = {{200, true},  {204, true},  {299, true},  {199, false},
                                   {300, false}, {404, false}, {500, false}, {std::nullopt, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.status.value_or(-1));
        HttpResponse response;
        response.statusCode = row.status;
        response.body = dailyFile;
        EXPECT_EQ(ReferenceRates::fromResponse(response).has_value(), row.accepted);
    }
}

TEST(ReferenceRatesTest, DownloadRequest)
{
    const HttpRequest request = ReferenceRates::downloadRequest();
    EXPECT_EQ(request.effectiveMethod(), "GET");
    EXPECT_EQ(request.url.scheme(), "https");
    EXPECT_EQ(request.url.path(), "/stats/eurofxref/eurofxref-daily.xml");
    EXPECT_EQ(request.timeout, std::chrono::seconds(60));
    EXPECT_EQ(request.maxBodyBytes, ReferenceRates::maxBodySize);
    EXPECT_TRUE(request.headers.isEmpty());
}

TEST(ReferenceRatesTest, StoredForm)
{
    const CurrencyRates rates{{"EUR", dec("1")}, {"USD", dec("1.0800")}, {"JPY", dec("169.11")}};
    const QVariant stored = ReferenceRates::toStored(rates);
    const QVariantMap expectedTexts{{"EUR", "1"}, {"USD", "1.08"}, {"JPY", "169.11"}};
    EXPECT_EQ(stored, QVariant(expectedTexts));
    EXPECT_EQ(ReferenceRates::fromStored(stored), rates);

    struct Row {
        const char* name;
        QVariant stored;
        CurrencyRates expected;
    };
    const std::vector<Row> rows = {
        {"absent", QVariant(), {}},
        {"not a map", QVariant(QStringLiteral("USD=1.08")), {}},
        {"one number instead of text", QVariantMap{{"USD", "1.08"}, {"CNY", 7.8}}, {}},
        {"text that is not a number is dropped alone",
         QVariantMap{{"USD", "1.08"}, {"CNY", "."}, {"HKD", "8.4 "}},
         {{"USD", dec("1.08")}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReferenceRates::fromStored(row.stored), row.expected);
    }
}

namespace {

const QString ratesPath = QStringLiteral("/stats/eurofxref/eurofxref-daily.xml");

// Downloads through the settings object, with rates from an earlier download already stored.
class RateDownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        defaults.setValue("currencyRates",
                          QVariantMap{{"USD", "1.25"}, {"CNY", "8"}, {"HKD", "9"}});
        defaults.setValue("currencyRatesUpdatedAt", earlier.toDateTime());
        transport.fail("GET", ratesPath);
        settings = std::make_unique<AppSettings>(defaults, transport, clock);
        QCoreApplication::processEvents();  // the start-up download fails
        QObject::connect(settings.get(), &AppSettings::currencyRatesChanged,
                         [this] { ++ratesSignals; });
        QObject::connect(settings.get(), &AppSettings::currencyRatesUpdatedAtChanged,
                         [this] { ++timeSignals; });
        clock.advance(3600);
    }

    const Date earlier = ManualClock::defaultStart;
    MemoryDefaultsStore defaults;
    FakeHttpTransport transport;
    ManualClock clock;
    std::unique_ptr<AppSettings> settings;
    int ratesSignals = 0;
    int timeSignals = 0;
};

}  // namespace

TEST_F(RateDownloadTest, StartsOnceAfterConstruction)
{
    ASSERT_EQ(transport.requestCount("GET", ratesPath), 1);
    EXPECT_EQ(transport.requests().front().timeout, std::chrono::seconds(60));
}

TEST_F(RateDownloadTest, AcceptedFileIsPublishedAndStored)
{
    transport.respond("GET", ratesPath, FakeHttpTransport::json(200, dailyFile));
    QCoro::waitFor(settings->refreshCurrencyRates());

    EXPECT_EQ(settings->currencyRates(), ReferenceRates::parse(dailyFile));
    EXPECT_EQ(settings->currencyRatesUpdatedAt(), clock.now());
    EXPECT_EQ(ratesSignals, 1);
    EXPECT_EQ(timeSignals, 1);
    const QVariantMap stored = defaults.value("currencyRates").toMap();
    EXPECT_EQ(stored.value("USD"), QVariant("1.0867"));
    EXPECT_EQ(stored.value("EUR"), QVariant("1"));
    EXPECT_EQ(stored.size(), 5);
    EXPECT_EQ(defaults.value("currencyRatesUpdatedAt"), QVariant(clock.now().toDateTime()));
}

TEST_F(RateDownloadTest, FailedDownloadChangesNothing)
{
    struct Row {
        const char* name;
        FakeHttpTransport::Handler handler;
    };
    auto reply = [](int status, QByteArray body) {
        return [=](const HttpRequest&) { return FakeHttpTransport::json(status, body); };
    };
    const std::vector<Row> rows = {
        {"transfer failed", [](const HttpRequest&) -> HttpResponse { throw HttpTransportError(); }},
        {"server error", reply(500, dailyFile)},
        {"not HTTP", [](const HttpRequest&) { return HttpResponse{}; }},
        {"no HKD", reply(200, "<Cube currency='USD' rate='1'/><Cube currency='CNY' rate='7'/>")},
        {"invalid UTF-8", reply(200, dailyFile + "\xc3")},
    };
    const CurrencyRates before = settings->currencyRates();
    const QVariant storedBefore = defaults.value("currencyRates");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        transport.respond("GET", ratesPath, row.handler);
        QCoro::waitFor(settings->refreshCurrencyRates());
        EXPECT_EQ(settings->currencyRates(), before);
        EXPECT_EQ(settings->currencyRatesUpdatedAt(), earlier);
        EXPECT_EQ(defaults.value("currencyRates"), storedBefore);
        EXPECT_EQ(defaults.value("currencyRatesUpdatedAt"), QVariant(earlier.toDateTime()));
        EXPECT_EQ(ratesSignals + timeSignals, 0);
    }
}

TEST_F(RateDownloadTest, ReplyAfterTheSettingsAreGoneIsDropped)
{
    transport.respond("GET", ratesPath, FakeHttpTransport::json(200, dailyFile));
    transport.setHolding(true);
    QCoro::Task<void> download = settings->refreshCurrencyRates();
    settings.reset();
    transport.releaseAll();
    QCoro::waitFor(std::move(download));
    EXPECT_EQ(defaults.value("currencyRatesUpdatedAt"), QVariant(earlier.toDateTime()));
}
