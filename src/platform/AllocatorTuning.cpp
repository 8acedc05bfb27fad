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
    // Setting the trim threshold fixes the size above which blocks are mapped on their own at
    // 128 KiB. Every refresh reads replies of a megabyte or more and parses each into a few
    // megabytes of nodes; served from the heap, those buffers reuse pages already mapped
    // instead of faulting in fresh ones each time.
    constexpr int mmapThreshold = 16 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, mmapThreshold);
#endif
}

void releaseUnusedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace vantrell
