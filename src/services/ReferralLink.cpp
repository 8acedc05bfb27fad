#include "services/ReferralLink.h"

#include "models/JsonCoding.h"
#include "services/SecureAddress.h"

namespace vantrell {

std::optional<QUrl> ReferralLink::url() const
{
    if (!enabled) {
        return std::nullopt;
    }
    return SecureAddress::parse(referralURL);
}

ReferralLink ReferralLink::fromJson(const JsonView& value)
{
    ReferralLink link;
    link.id = json::required<QString>(value, "id");
    link.enabled = json::required<bool>(value, "enabled");
    link.sort = json::required<int>(value, "sort");
    link.referralURL = json::required<QString>(value, "referralURL");
    return link;
}

}  // namespace vantrell
