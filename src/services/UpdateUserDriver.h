#pragma once

#include "services/UpdateItem.h"
#include "services/UpdaterError.h"

namespace vantrell {

// What the update layer shows the user at the end of a check the user started. Scheduled
// checks show nothing. Implementations must not block: no modal loop inside these calls.
class UpdateUserDriver {
public:
    virtual ~UpdateUserDriver() = default;

    virtual void showUpdateFound(const UpdateItem& item) = 0;
    virtual void showUpdateNotFound() = 0;
    virtual void showUpdaterError(const UpdaterError& error) = 0;
};

}  // namespace vantrell
