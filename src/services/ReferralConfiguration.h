#pragma once

#include "services/ReferralLink.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

// The referral configuration document:
//
//     {"schemaVersion": 1, "updatedAt": "...", "exchanges": [{"id": "okx", "enabled": true,
//      "sort": 1, "referralURL": "https://..."}, ...]}
//
// Every key is required; unknown keys are ignored.
struct ReferralConfiguration {
    // Larger documents are refused like undecodable ones; the real one is a few hundred bytes.
    static constexpr qsizetype maxBodySize = 256 * 1024;

    int schemaVersion = 0;
    QString updatedAt;  // plain text, not interpreted
    std::vector<ReferralLink> exchanges;

    // The document, or nothing when any key is missing or of the wrong type anywhere in it
    // (a number with a fraction is no integer), or the text is larger than `maxBodySize`.
    // Never accepted in part.
    static std::optional<ReferralConfiguration> decode(const QByteArray& body);
};

}  // namespace vantrell
