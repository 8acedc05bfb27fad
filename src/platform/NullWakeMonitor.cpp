#include "platform/NullWakeMonitor.h"

// The class has no behaviour of its own; this file gives its meta-object a home.
