#include "security/CredentialChangeNotifier.h"

namespace vantrell {

CredentialChangeNotifier& CredentialChangeNotifier::instance()
{
    static CredentialChangeNotifier notifier;
    return notifier;
}

}  // namespace vantrell
