#include "services/ReferralConfiguration.h"

#include "models/JsonCoding.h"
#include "models/JsonReader.h"

namespace vantrell {

std::optional<ReferralConfiguration> ReferralConfiguration::decode(const QByteArray& body)
{
    if (body.size() > maxBodySize) {
        return std::nullopt;
    }
    try {
        const JsonValue root = JsonReader::parse(body);
        ReferralConfiguration configuration;
        configuration.schemaVersion = json::required<int>(root, "schemaVersion");
        configuration.updatedAt = json::required<QString>(root, "updatedAt");
        configuration.exchanges = json::required<std::vector<ReferralLink>>(root, "exchanges");
        return configuration;
    } catch (const JsonDecodeError&) {
        return std::nullopt;
    }
}

}  // namespace vantrell
