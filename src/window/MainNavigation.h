#pragma once

#include "models/Exchange.h"
#include "window/MainSection.h"

#include <QString>

#include <functional>
#include <vector>

namespace vantrell {

// What the main window's sidebar lists and which page it shows, decided from the stored
// section and the configured exchanges alone.
class MainNavigation {
public:
    // One block of sidebar rows; an empty header draws no header line.
    struct Group {
        QString header;
        std::vector<MainSection> sections;
        friend bool operator==(const Group&, const Group&) = default;
    };

    MainNavigation() = delete;

    // The section whose page is shown for the stored raw value: the overview for an unknown
    // value and for an exchange that is not configured, otherwise the stored section. Decides
    // only what is shown; the stored value is never rewritten.
    static MainSection effectiveSection(const QString& storedRaw,
                                        const std::function<bool(Exchange)>& isConfigured);

    // The overview; "交易所" with the configured exchanges in the exchanges' order and the
    // always-present exchange management; "资产" with assets, positions and analytics; the
    // settings.
    static std::vector<Group> sidebarGroups(const std::vector<Exchange>& configuredExchanges);
};

}  // namespace vantrell
