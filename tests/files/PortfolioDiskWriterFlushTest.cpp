#include "files/PortfolioDiskWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace std::chrono_literals;

namespace {

TEST(PortfolioDiskWriterFlushTest, BoundedFlushWaitsForEarlierWrites)
{
    QTemporaryDir folder;
    PortfolioDiskWriter writer;
    const QString path = folder.filePath(QStringLiteral("cache.json"));
    writer.save([] { return QByteArrayLiteral("{}"); }, path, 1, nullptr, nullptr);
    EXPECT_TRUE(writer.flush(5s));
    EXPECT_TRUE(QFile::exists(path));
}

TEST(PortfolioDiskWriterFlushTest, GivesUpOnAStuckDiskAndStaysUsable)
{
    std::atomic<bool> release = false;
    PortfolioDiskWriter writer;
    writer.run(
        [&release] {
            while (!release) {
                std::this_thread::sleep_for(1ms);
            }
            return true;
        },
        nullptr, nullptr);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(writer.flush(50ms));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    // The abandoned wait's marker still runs later without harm.
    release = true;
    EXPECT_TRUE(writer.flush(5s));
}

}  // namespace
