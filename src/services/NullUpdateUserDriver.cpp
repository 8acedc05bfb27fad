#include "services/NullUpdateUserDriver.h"

namespace vantrell {

void NullUpdateUserDriver::showUpdateFound(const UpdateItem& /*item*/) {}

void NullUpdateUserDriver::showUpdateNotFound() {}

void NullUpdateUserDriver::showUpdaterError(const UpdaterError& /*error*/) {}

}  // namespace vantrell
