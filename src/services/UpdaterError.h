#pragma once

#include <QString>

namespace vantrell {

// Why a check for updates ended without a valid update. `localizedDescription` is our own text
// for the user, never text from the feed.
struct UpdaterError {
    // The domain of every error the update layer reports.
    static const QString domain;

    enum Code : int {
        notConfigured = 1,
        feedUnreachable = 2,
        invalidFeed = 3,
        invalidCurrentVersion = 4,
        // The check worked and found nothing newer than the running version.
        noUpdateFound = 1001,
    };

    QString errorDomain;
    int code = 0;
    QString localizedDescription;

    static UpdaterError make(Code code);

    friend bool operator==(const UpdaterError&, const UpdaterError&) = default;
};

}  // namespace vantrell
