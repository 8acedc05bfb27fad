#pragma once

#include "networking/ExchangeAPIError.h"

#include <ostream>

namespace vantrell {

// Lets GoogleTest show an error's case and payload instead of its bytes when a comparison
// fails. Found by argument-dependent lookup, so it lives in the error's namespace.
void PrintTo(const ExchangeAPIError& error, std::ostream* os);

}  // namespace vantrell
