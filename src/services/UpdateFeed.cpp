#include "services/UpdateFeed.h"

#include "models/JsonCoding.h"
#include "models/JsonReader.h"
#include "services/SecureAddress.h"
#include "services/VersionNumber.h"

namespace vantrell {

namespace {

std::optional<UpdateItem> itemFrom(const JsonValue& root)
{
    const auto version = json::required<QString>(root, "version");
    const auto download = SecureAddress::parse(json::required<QString>(root, "downloadURL"));
    const auto notes = json::optional<QString>(root, "releaseNotesURL");
    if (!VersionNumber::parse(version) || !download) {
        return std::nullopt;
    }
    UpdateItem item;
    item.displayVersionString = version;
    item.downloadURL = *download;
    if (notes) {
        item.releaseNotesURL = SecureAddress::parse(*notes);
    }
    return item;
}

bool isSuccess(std::optional<int> statusCode)
{
    return statusCode && *statusCode >= 200 && *statusCode <= 299;
}

}  // namespace

HttpRequest UpdateFeed::request(const QUrl& feedURL)
{
    HttpRequest request;
    request.url = feedURL;
    request.headers.append(HttpRequest::Header("Accept", "application/json"));
    request.timeout = fetchTimeout;
    request.maxBodyBytes = maxBodySize;
    return request;
}

std::optional<UpdateItem> UpdateFeed::decode(const QByteArray& body)
{
    if (body.size() > maxBodySize) {
        return std::nullopt;
    }
    try {
        return itemFrom(JsonReader::parse(body));
    } catch (const JsonDecodeError&) {
        return std::nullopt;
    }
}

UpdateCheckOutcome UpdateFeed::evaluateOversized(std::optional<int> statusCode)
{
    return UpdaterError::make(isSuccess(statusCode) ? UpdaterError::invalidFeed
                                                    : UpdaterError::feedUnreachable);
}

UpdateCheckOutcome UpdateFeed::evaluate(const HttpResponse& response, QStringView currentVersion)
{
    if (!isSuccess(response.statusCode)) {
        return UpdaterError::make(UpdaterError::feedUnreachable);
    }
    std::optional<UpdateItem> item = decode(response.body);
    if (!item) {
        return UpdaterError::make(UpdaterError::invalidFeed);
    }
    const std::optional<VersionNumber> running = VersionNumber::parse(currentVersion);
    if (!running) {
        return UpdaterError::make(UpdaterError::invalidCurrentVersion);
    }
    if (*VersionNumber::parse(item->displayVersionString) > *running) {
        return std::move(*item);
    }
    return UpdaterError::make(UpdaterError::noUpdateFound);
}

}  // namespace vantrell
