#pragma once

#include "services/UpdateUserDriver.h"

namespace vantrell {

// Shows nothing: for a program without windows, and for tests.
class NullUpdateUserDriver final : public UpdateUserDriver {
public:
    void showUpdateFound(const UpdateItem& item) override;
    void showUpdateNotFound() override;
    void showUpdaterError(const UpdaterError& error) override;
};

}  // namespace vantrell
