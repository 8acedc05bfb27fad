#pragma once

#include "networking/HttpRequest.h"
#include "networking/HttpResponse.h"
#include "services/UpdateItem.h"
#include "services/UpdaterError.h"

#include <QByteArray>
#include <QStringView>
#include <QUrl>

#include <chrono>
#include <optional>
#include <variant>

namespace vantrell {

// What one check for updates came to: the newer release, or why there is none (the error with
// the no-update code when the feed offers nothing newer).
using UpdateCheckOutcome = std::variant<UpdateItem, UpdaterError>;

// The update feed: a small JSON document at a fixed https address,
//
//     {"version": "1.4.0", "downloadURL": "https://...", "releaseNotesURL": "https://..."}
//
// "version" and "downloadURL" are required, "releaseNotesURL" is optional; other keys are
// ignored. The feed is trusted for nothing but these three texts.
class UpdateFeed {
public:
    static constexpr qsizetype maxBodySize = 64 * 1024;
    static constexpr std::chrono::milliseconds fetchTimeout{20000};

    static HttpRequest request(const QUrl& feedURL);

    // The item of a feed body, or nothing when the body is larger than `maxBodySize`, is not a
    // JSON object, lacks a required key, has a value of the wrong type, a version that is not
    // digits and dots (at most 32 characters) or a download address that is not https. A
    // release-notes address that is not https is left out.
    static std::optional<UpdateItem> decode(const QByteArray& body);

    // The outcome of a reply given up because its body passed `maxBodySize`: as evaluate()
    // has it for such a body.
    static UpdateCheckOutcome evaluateOversized(std::optional<int> statusCode);

    // The outcome of a feed reply for the running version: a 2xx reply with a valid feed
    // whose version is newer gives the item; an equal or older one the no-update error; any
    // other reply an error of its own.
    static UpdateCheckOutcome evaluate(const HttpResponse& response, QStringView currentVersion);
};

}  // namespace vantrell
