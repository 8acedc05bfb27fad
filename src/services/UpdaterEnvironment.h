#pragma once

#include "models/Clock.h"
#include "networking/HttpTransport.h"
#include "platform/DefaultsStore.h"
#include "services/UpdateUserDriver.h"

#include <QUrl>

namespace vantrell {

// What the update layer works with; everything must outlive the updater. The feed address is
// the build's (BuildConfiguration::updateFeedURL()); an empty one means checks are impossible.
struct UpdaterEnvironment {
    HttpTransport& transport;
    DefaultsStore& defaults;
    const Clock& clock;
    UpdateUserDriver& userDriver;
    QUrl feedURL;
};

}  // namespace vantrell
