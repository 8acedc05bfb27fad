#include "files/PortfolioCSVWriter.h"

#include "files/PortfolioCSVExport.h"
#include "files/PortfolioDiskWriter.h"
#include "support/FakeSaveLocationPrompt.h"
#include "support/ManualClock.h"
#include "support/PortfolioSamples.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

using namespace vantrell;
using namespace vantrell::test;

namespace {

// 2026-03-01T08:05:00.750Z
constexpr Date morning{794'045'100.75};

std::vector<PortfolioValuePoint> samplePoints()
{
    return {
        {morning, decimal("1234.5")},
        {morning.addingSeconds(300), decimal("-0.000000001234")},
        {morning.addingSeconds(600.25), decimal("123456789012345678901234.123456789")},
        {morning.addingSeconds(900), decimal("0")},
    };
}

const QByteArray sampleText =
    "timestamp,total_value_usd\n"
    "2026-03-01T08:05:00Z,1234.5\n"
    "2026-03-01T08:10:00Z,-0.000000001234\n"
    "2026-03-01T08:15:01Z,123456789012345678901234.123456789\n"
    "2026-03-01T08:20:00Z,0\n";

// Sets the process time zone for one test, so "local" is not UTC.
class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* zone) : m_previous(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        ::tzset();
    }
    ~TimeZoneScope()
    {
        m_previous.isNull() ? qunsetenv("TZ") : qputenv("TZ", m_previous);
        ::tzset();
    }

private:
    QByteArray m_previous;
};

class PortfolioCSVExportTest : public ::testing::Test {
protected:
    void settle()
    {
        writer.flush();
        QCoreApplication::sendPostedEvents();
    }

    PortfolioCSVExport::FailureHandler collect()
    {
        return [this](const QString& message) { messages.push_back(message); };
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir temporary;
    PortfolioDiskWriter writer;
    FakeSaveLocationPrompt prompt;
    ManualClock clock{morning};
    PortfolioCSVExport exporter{prompt, &writer, clock};
    QObject context;
    std::vector<QString> messages;
};

}  // namespace

TEST(PortfolioCSVWriterTest, ExactText)
{
    EXPECT_EQ(PortfolioCSVWriter::text({}), "timestamp,total_value_usd\n\n");
    EXPECT_EQ(PortfolioCSVWriter::text(samplePoints()), sampleText);
}

TEST(PortfolioCSVWriterTest, FractionsOfASecondAreDropped)
{
    const auto line = [](double secondsSinceReferenceDate) {
        const QByteArray text = PortfolioCSVWriter::text({{Date{secondsSinceReferenceDate}, {}}});
        return text.mid(text.indexOf('\n') + 1, 20);
    };
    // Never into the next second, minute, day or year.
    EXPECT_EQ(line(794'102'399.9996), "2026-03-01T23:59:59Z");
    EXPECT_EQ(line(794'102'400), "2026-03-02T00:00:00Z");
    EXPECT_EQ(line(-978'307'200.0004), "1969-12-31T23:59:59Z");
    EXPECT_EQ(line(-978'307'201.5), "1969-12-31T23:59:58Z");
    EXPECT_EQ(line(-978'307'200), "1970-01-01T00:00:00Z");
}

TEST(PortfolioCSVWriterTest, DefaultNameUsesTheUtcDate)
{
    const TimeZoneScope tokyo("Asia/Tokyo");  // already the next day at 23:59:30 UTC
    EXPECT_EQ(PortfolioCSVWriter::defaultFileName(Date{794'102'370}),  // 2026-03-01T23:59:30Z
              QStringLiteral("Vantrell-2026-03-01.csv"));
    EXPECT_EQ(PortfolioCSVWriter::defaultFileName(Date{794'102'400}),  // 2026-03-02T00:00:00Z
              QStringLiteral("Vantrell-2026-03-02.csv"));
}

TEST_F(PortfolioCSVExportTest, ChosenLocationGetsTheFile)
{
    const QString path = temporary.filePath(QStringLiteral("export.csv"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older export that is longer than the new one ..........................");
    old.close();

    exporter.start(samplePoints(), &context, collect());
    EXPECT_EQ(prompt.proposedNames(), QStringList{QStringLiteral("Vantrell-2026-03-01.csv")});
    ASSERT_TRUE(prompt.answer(path));
    settle();

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(contents(path), sampleText);
}

TEST_F(PortfolioCSVExportTest, CancellingIsNoFailure)
{
    exporter.start(samplePoints(), &context, collect());
    ASSERT_TRUE(prompt.answer(std::nullopt));
    settle();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(QDir(temporary.path()).isEmpty());
}

TEST_F(PortfolioCSVExportTest, UnwritableLocationsGiveTheFailureText)
{
    const QString folderPath = temporary.filePath(QStringLiteral("a-folder"));
    ASSERT_TRUE(QDir().mkpath(folderPath));
    for (const QString& path : {folderPath, temporary.filePath(QStringLiteral("gone/x.csv"))}) {
        exporter.start(samplePoints(), &context, collect());
        ASSERT_TRUE(prompt.answer(path));
    }
    settle();
    const QString text = QStringLiteral("导出失败，请选择可写入的位置后重试。");
    EXPECT_EQ(messages, (std::vector<QString>{text, text}));
    EXPECT_FALSE(QDir(temporary.filePath(QStringLiteral("gone"))).exists());
}

TEST_F(PortfolioCSVExportTest, NothingHappensOnceTheContextIsGone)
{
    auto shortLived = std::make_unique<QObject>();
    exporter.start(samplePoints(), shortLived.get(), collect());
    shortLived.reset();
    ASSERT_TRUE(prompt.answer(temporary.filePath(QStringLiteral("export.csv"))));
    settle();
    EXPECT_TRUE(QDir(temporary.path()).isEmpty());
    EXPECT_TRUE(messages.empty());
}
