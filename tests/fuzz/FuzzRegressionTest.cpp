#include "targets/ConnectorTarget.h"
#include "targets/FuzzTargets.h"
#include "targets/PortfolioFilesTarget.h"
#include "targets/ReplyScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace vantrell::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path regressionsFolder = VANTRELL_FUZZ_REGRESSIONS_DIR;
const fs::path corpusFolder = VANTRELL_FUZZ_CORPUS_DIR;

std::string bytesOf(const fs::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

const std::uint8_t* dataOf(const std::string& bytes)
{
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

const FuzzTarget* targetNamed(const std::string& name)
{
    const auto targets = allTargets();
    const auto found = std::find_if(targets.begin(), targets.end(),
                                    [&](const FuzzTarget& t) { return name == t.name; });
    return found == targets.end() ? nullptr : &*found;
}

// One kept input: <folder>/<target>/<file>.
struct KeptInput {
    std::string target;
    fs::path file;
};

std::vector<KeptInput> inputsUnder(const fs::path& folder)
{
    std::vector<KeptInput> inputs;
    if (!fs::is_directory(folder)) {
        return inputs;
    }
    for (const auto& targetFolder : fs::directory_iterator(folder)) {
        if (!targetFolder.is_directory()) {
            continue;
        }
        for (const auto& file : fs::directory_iterator(targetFolder.path())) {
            if (file.is_regular_file()) {
                inputs.push_back({targetFolder.path().filename().string(), file.path()});
            }
        }
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const KeptInput& a, const KeptInput& b) { return a.file < b.file; });
    return inputs;
}

std::string testNameOf(const testing::TestParamInfo<KeptInput>& info)
{
    std::string name = info.param.target + "_" + info.param.file.filename().string();
    std::replace_if(
        name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) == 0; }, '_');
    return name;
}

// Every input that once made a target fail, and every seed, runs through its target again: a
// fault the target finds aborts this test, naming the input.
class KeptInputTest : public testing::TestWithParam<KeptInput> {};

TEST_P(KeptInputTest, PassesItsTarget)
{
    const KeptInput& input = GetParam();
    const FuzzTarget* target = targetNamed(input.target);
    ASSERT_NE(target, nullptr) << "no fuzz target is named " << input.target;
    const std::string bytes = bytesOf(input.file);
    target->run(dataOf(bytes), bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Regressions, KeptInputTest,
                         testing::ValuesIn(inputsUnder(regressionsFolder)), testNameOf);
INSTANTIATE_TEST_SUITE_P(Seeds, KeptInputTest, testing::ValuesIn(inputsUnder(corpusFolder)),
                         testNameOf);

TEST(FuzzCorpusTest, EveryTargetHasSeeds)
{
    for (const FuzzTarget& target : allTargets()) {
        EXPECT_TRUE(fs::is_directory(corpusFolder / target.name)) << target.name;
    }
}

// A connector seed is only a good start when the connector reads it as a whole snapshot: a
// changed request order or fixture would otherwise leave the fuzzer starting from failures.
TEST(FuzzCorpusTest, ConnectorSeedsMakeWholeSnapshots)
{
    struct Seed {
        const char* target;
        const char* file;
        Connector connector;
        bool connects;  // the first reply is a good balance reply
    };
    const Seed seeds[] = {
        {"BinanceSnapshotFuzz", "complete", Connector::binance, true},
        {"BinanceSnapshotFuzz", "optional-refused", Connector::binance, true},
        {"OKXSnapshotFuzz", "complete", Connector::okx, true},
        {"BybitSnapshotFuzz", "complete", Connector::bybit, true},
        {"GateSnapshotFuzz", "complete", Connector::gate, true},
        {"GateSnapshotFuzz", "futures-never-opened", Connector::gate, true},
        {"BitgetSnapshotFuzz", "unified", Connector::bitget, true},
        // The unified account refuses, then the classic one answers: the connection test sees
        // two refusals.
        {"BitgetSnapshotFuzz", "classic", Connector::bitget, false},
    };
    for (const Seed& seed : seeds) {
        SCOPED_TRACE(std::string(seed.target) + "/" + seed.file);
        const std::string bytes = bytesOf(corpusFolder / seed.target / seed.file);
        ASSERT_FALSE(bytes.empty());
        const ConnectorRun run = runConnector(seed.connector, dataOf(bytes), bytes.size());
        EXPECT_TRUE(run.snapshotSucceeded);
        EXPECT_EQ(run.snapshotRequests, run.scriptedReplies);
        EXPECT_EQ(run.connectionSucceeded, seed.connects);
    }
}

TEST(FuzzCorpusTest, PortfolioSeedsLoadAsTheirFiles)
{
    const std::string cache = bytesOf(corpusFolder / "PortfolioFilesFuzz" / "cache");
    const PortfolioFilesRun cacheRun = runPortfolioFiles(dataOf(cache), cache.size());
    EXPECT_TRUE(cacheRun.cacheLoaded);
    EXPECT_FALSE(cacheRun.historyLoaded);

    const std::string history = bytesOf(corpusFolder / "PortfolioFilesFuzz" / "history");
    const PortfolioFilesRun historyRun = runPortfolioFiles(dataOf(history), history.size());
    EXPECT_FALSE(historyRun.cacheLoaded);
    EXPECT_TRUE(historyRun.historyLoaded);
}

TEST(FuzzCorpusTest, AConnectorWithoutRepliesFailsCleanly)
{
    for (const Connector connector : {Connector::binance, Connector::okx, Connector::bybit,
                                      Connector::bitget, Connector::gate}) {
        const ConnectorRun run = runConnector(connector, nullptr, 0);
        EXPECT_FALSE(run.snapshotSucceeded);
        EXPECT_FALSE(run.connectionSucceeded);
    }
}

struct ScriptedReplyCase {
    const char* part;
    std::optional<int> status;  // nothing: no status (or, with `fails`, no response at all)
    bool fails;
    const char* retryAfter;  // nullptr: no header
    const char* body;
};

TEST(ReplyScriptTest, ReadsEachReplyHeader)
{
    const ScriptedReplyCase cases[] = {
        {R"({"a":1})", 200, false, nullptr, R"({"a":1})"},
        {"@429;7 {}", 429, false, "7", "{}"},
        {"@418;  x", 418, false, "", " x"},
        {"@ body", std::nullopt, false, nullptr, "body"},
        {"@abc body", std::nullopt, false, nullptr, "body"},
        {"@99999999999 b", std::nullopt, false, nullptr, "b"},
        {"@500", 500, false, nullptr, ""},
        {"@! ignored", std::nullopt, true, nullptr, ""},
        {"", 200, false, nullptr, ""},
    };
    for (const ScriptedReplyCase& c : cases) {
        SCOPED_TRACE(c.part);
        const ReplyScript::Reply reply = ReplyScript::parseReply(QByteArray(c.part));
        ASSERT_EQ(!reply.response.has_value(), c.fails);
        if (c.fails) {
            continue;
        }
        EXPECT_EQ(reply.response->statusCode, c.status);
        EXPECT_EQ(reply.response->body, QByteArray(c.body));
        const std::optional<QByteArray> retryAfter = reply.response->header("Retry-After");
        EXPECT_EQ(retryAfter.has_value(), c.retryAfter != nullptr);
        if (retryAfter && c.retryAfter != nullptr) {
            EXPECT_EQ(*retryAfter, QByteArray(c.retryAfter));
        }
    }
}

TEST(ReplyScriptTest, SplitsOnTheSeparatorLineOnly)
{
    const std::string input = "a\n---\n@404 b\n--\nc\n---\n\n---\n";
    const ReplyScript script = ReplyScript::parse(dataOf(input), input.size());
    ASSERT_EQ(script.replies.size(), 4U);
    EXPECT_EQ(script.replies[0].response->body, QByteArray("a"));
    EXPECT_EQ(script.replies[1].response->statusCode, 404);
    EXPECT_EQ(script.replies[1].response->body, QByteArray("b\n--\nc"));
    EXPECT_EQ(script.replies[2].response->body, QByteArray(""));
    EXPECT_EQ(script.replies[3].response->body, QByteArray(""));
}

}  // namespace
}  // namespace vantrell::fuzz
