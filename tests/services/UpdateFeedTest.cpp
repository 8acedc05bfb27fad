#include "services/UpdateFeed.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

const QByteArray validFeed =
    R"({"version": "1.4.0", "downloadURL": "https://example.com/vantrell/1.4.0",
        "releaseNotesURL": "https://example.com/vantrell/notes", "extra": [1, 2]})";

HttpResponse reply(int status, QByteArray body)
{
    return HttpResponse{status, {}, std::move(body)};
}

TEST(UpdateFeedTest, DecodesTheThreeFields)
{
    const std::optional<UpdateItem> item = UpdateFeed::decode(validFeed);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->displayVersionString, "1.4.0");
    EXPECT_EQ(item->downloadURL, QUrl(QStringLiteral("https://example.com/vantrell/1.4.0")));
    EXPECT_EQ(item->releaseNotesURL, QUrl(QStringLiteral("https://example.com/vantrell/notes")));
}

// Any of these makes the whole feed invalid.
TEST(UpdateFeedTest, RefusesInvalidFeeds)
{
    const QByteArray invalid[] = {
        "",
        "[]",
        "not json",
        R"({"downloadURL": "https://example.com/d"})",
        R"({"version": "1.4.0"})",
        R"({"version": 140, "downloadURL": "https://example.com/d"})",
        R"({"version": null, "downloadURL": "https://example.com/d"})",
        R"({"version": "1.4.0", "downloadURL": "http://example.com/d"})",
        R"({"version": "1.4.0", "downloadURL": "https://user@example.com/d"})",
        R"({"version": "1.4.0", "downloadURL": "https:///d"})",
        R"({"version": "1.4.0", "downloadURL": "https://example.com/d", "releaseNotesURL": 3})",
        R"({"version": "1.4.0-beta", "downloadURL": "https://example.com/d"})",
        R"({"version": "<b>1.4</b>", "downloadURL": "https://example.com/d"})",
        R"({"version": "1.2.3.4.5.6.7.8.9.10.11.12.13.14.1", "downloadURL": "https://e.com/d"})",
    };
    for (const QByteArray& body : invalid) {
        EXPECT_FALSE(UpdateFeed::decode(body)) << body.toStdString();
    }
}

TEST(UpdateFeedTest, DropsReleaseNotesThatAreNotHttps)
{
    const std::optional<UpdateItem> item = UpdateFeed::decode(
        R"({"version": "2.0", "downloadURL": "https://example.com/d",
            "releaseNotesURL": "http://example.com/notes"})");
    ASSERT_TRUE(item);
    EXPECT_FALSE(item->releaseNotesURL);
}

TEST(UpdateFeedTest, RefusesAnOversizedBody)
{
    QByteArray padded = validFeed;
    padded.append(QByteArray(UpdateFeed::maxBodySize, ' '));
    EXPECT_FALSE(UpdateFeed::decode(padded));
    EXPECT_TRUE(UpdateFeed::decode(validFeed + QByteArray(100, ' ')));

    // The transport stops a larger reply as it arrives; the outcome is the same as for a body
    // delivered whole.
    EXPECT_EQ(UpdateFeed::request(QUrl(u"https://example.com/feed"_qs)).maxBodyBytes,
              UpdateFeed::maxBodySize);
    const auto code = [](std::optional<int> status) {
        return std::get<UpdaterError>(UpdateFeed::evaluateOversized(status)).code;
    };
    EXPECT_EQ(code(200), UpdaterError::invalidFeed);
    EXPECT_EQ(code(404), UpdaterError::feedUnreachable);
    EXPECT_EQ(code(std::nullopt), UpdaterError::feedUnreachable);
}

struct OutcomeRow {
    const char* name;
    HttpResponse response;
    const char* current;
    std::optional<UpdaterError::Code> error;  // nothing: the update is found
};

TEST(UpdateFeedTest, MapsEachReplyToOneOutcome)
{
    const QByteArray feed110 = R"({"version": "1.10", "downloadURL": "https://example.com/d"})";
    const OutcomeRow rows[] = {
        {"newer", reply(200, feed110), "1.9", std::nullopt},
        {"equal", reply(200, feed110), "1.10.0", UpdaterError::noUpdateFound},
        {"older", reply(200, feed110), "1.11", UpdaterError::noUpdateFound},
        {"server error", reply(503, feed110), "1.9", UpdaterError::feedUnreachable},
        {"redirect not followed", reply(302, feed110), "1.9", UpdaterError::feedUnreachable},
        {"no HTTP status", HttpResponse{std::nullopt, {}, feed110}, "1.9",
         UpdaterError::feedUnreachable},
        {"bad feed", reply(200, "{}"), "1.9", UpdaterError::invalidFeed},
        {"bad running version", reply(200, feed110), "1.9-dev",
         UpdaterError::invalidCurrentVersion},
    };
    for (const OutcomeRow& row : rows) {
        const UpdateCheckOutcome outcome =
            UpdateFeed::evaluate(row.response, QString::fromLatin1(row.current));
        if (!row.error) {
            ASSERT_TRUE(std::holds_alternative<UpdateItem>(outcome)) << row.name;
            EXPECT_EQ(std::get<UpdateItem>(outcome).displayVersionString, "1.10");
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<UpdaterError>(outcome)) << row.name;
        const auto& error = std::get<UpdaterError>(outcome);
        EXPECT_EQ(error.code, *row.error) << row.name;
        EXPECT_EQ(error.errorDomain, UpdaterError::domain) << row.name;
        EXPECT_FALSE(error.localizedDescription.isEmpty()) << row.name;
    }
}

}  // namespace
