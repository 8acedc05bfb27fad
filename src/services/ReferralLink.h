#pragma once

#include "models/JsonView.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace vantrell {

// One exchange's referral (sign-up) link from the referral configuration document.
struct ReferralLink {
    QString id;  // the exchange's referral id: "binance", "okx", "bybit", "bitget", "gateio"
    bool enabled = false;
    int sort = 0;  // display order, ascending
    QString referralURL;

    // The address to open, or nothing unless the link is enabled and its text is an https
    // address with a host and without user name or password.
    std::optional<QUrl> url() const;

    // Strict: every key required, with its JSON type. Throws JsonDecodeError.
    static ReferralLink fromJson(const JsonView& value);

    friend bool operator==(const ReferralLink&, const ReferralLink&) = default;
};

}  // namespace vantrell
