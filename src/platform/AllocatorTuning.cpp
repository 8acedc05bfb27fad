#include "platform/AllocatorTuning.h"

#include <cstdlib>  // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vantrell {

void tuneAllocatorForLongRunningProcess()
{
#if defined(__GLIBC__)
    // Up to 8 MiB of free memory at the top of the heap stays mapped for the next cycle.
    constexpr int trimThreshold = 8 * 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, trimThreshold);
#endif
}

}  // namespace vantrell
