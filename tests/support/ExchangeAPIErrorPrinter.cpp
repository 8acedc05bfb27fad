#include "support/ExchangeAPIErrorPrinter.h"

namespace vantrell {

void PrintTo(const ExchangeAPIError& error, std::ostream* os)
{
    *os << "ExchangeAPIError(" << static_cast<int>(error.kind()) << ", " << error.statusCode()
        << ", " << error.message().toStdString() << ", " << error.retryAfterSeconds() << ", "
        << error.label().toStdString() << ")";
}

}  // namespace vantrell
