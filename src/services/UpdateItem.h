#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace vantrell {

// The newest release a feed offers, as the update layer accepted it: the version is digits and
// dots only, and both addresses are https.
struct UpdateItem {
    QString displayVersionString;
    std::optional<QUrl> releaseNotesURL;
    // The release's download page; the program opens it in the browser and installs nothing.
    QUrl downloadURL;

    friend bool operator==(const UpdateItem&, const UpdateItem&) = default;
};

}  // namespace vantrell
