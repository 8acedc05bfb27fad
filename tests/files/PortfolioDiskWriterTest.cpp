#include "files/PortfolioDiskWriter.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace vantrell;
using Outcome = PortfolioDiskWriter::Outcome;

namespace {

class PortfolioDiskWriterTest : public ::testing::Test {
protected:
    void settle()
    {
        writer->flush();
        QCoreApplication::sendPostedEvents();
    }

    PortfolioDiskWriter::Completion record()
    {
        return [this](Outcome outcome) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            outcomes.push_back(outcome);
        };
    }

    static PortfolioDiskWriter::Encoder bytes(const char* text)
    {
        return [text] { return QByteArray(text); };
    }

    // An encoder that fails until the test lets it succeed.
    static PortfolioDiskWriter::Encoder failingWhile(std::shared_ptr<std::atomic_bool> failing,
                                                     const char* text)
    {
        return [failing, text] {
            if (*failing) {
                throw std::runtime_error("no space");
            }
            return QByteArray(text);
        };
    }

    QString path(const char* name) const { return temporary.filePath(QString::fromUtf8(name)); }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir temporary;
    std::unique_ptr<PortfolioDiskWriter> writer = std::make_unique<PortfolioDiskWriter>();
    QObject context;
    std::vector<Outcome> outcomes;
};

}  // namespace

TEST_F(PortfolioDiskWriterTest, RevisionsArePerFile)
{
    writer->save(bytes("two"), path("a.json"), 2, &context, record());
    writer->save(bytes("one"), path("a.json"), 1, &context, record());
    writer->save(bytes("other"), path("b.json"), 1, &context, record());
    writer->save(bytes("two again"), path("a.json"), 2, &context, record());
    settle();

    EXPECT_EQ(outcomes, (std::vector<Outcome>{Outcome::written, Outcome::skipped, Outcome::written,
                                              Outcome::written}));
    EXPECT_EQ(contents(path("a.json")), "two again");
    EXPECT_EQ(contents(path("b.json")), "other");
}

TEST_F(PortfolioDiskWriterTest, ProtectedFileWaitsForItsArchive)
{
    const QString history = path("history.json");
    writer->save(bytes("old history"), history, 1, &context, record());
    auto failing = std::make_shared<std::atomic_bool>(true);
    writer->saveArchive(failingWhile(failing, "archive one"), path("archive-1.json"), history, 2,
                        &context, record());
    writer->saveArchive(bytes("archive two"), path("archive-2.json"), history, 3, &context,
                        record());
    writer->save(bytes("new history"), history, 4, &context, record());
    settle();

    EXPECT_EQ(outcomes, (std::vector<Outcome>{Outcome::written, Outcome::failed, Outcome::written,
                                              Outcome::failed}));
    EXPECT_EQ(contents(history), "old history");
    EXPECT_FALSE(QFile::exists(path("archive-1.json")));

    // Once the archive can be written, the next history write writes it first, then itself.
    outcomes.clear();
    *failing = false;
    writer->save(bytes("newer history"), history, 5, &context, record());
    settle();
    EXPECT_EQ(outcomes, (std::vector<Outcome>{Outcome::written}));
    EXPECT_EQ(contents(path("archive-1.json")), "archive one");
    EXPECT_EQ(contents(history), "newer history");
}

TEST_F(PortfolioDiskWriterTest, OutcomesNeedALivingContext)
{
    auto shortLived = std::make_unique<QObject>();
    writer->save(bytes("x"), path("a.json"), 1, shortLived.get(), record());
    writer->save(bytes("y"), path("b.json"), 1, nullptr, record());
    writer->flush();
    shortLived.reset();
    QCoreApplication::sendPostedEvents();

    EXPECT_TRUE(outcomes.empty());
    EXPECT_EQ(contents(path("a.json")), "x");  // the write itself still happened
}

TEST_F(PortfolioDiskWriterTest, DestroyingTheWriterFinishesEveryRequest)
{
    for (int i = 0; i < 20; ++i) {
        writer->save(bytes("last"), path("a.json"), quint64(i), &context, record());
    }
    writer.reset();
    EXPECT_EQ(contents(path("a.json")), "last");
}
