#include "platform/NullNotifier.h"

namespace vantrell {

void NullNotifier::post(const QString& /*title*/, const QString& /*body*/) {}

QCoro::Task<bool> NullNotifier::requestAuthorization()
{
    co_return false;
}

}  // namespace vantrell
