#pragma once

namespace vantrell {

// Keeps memory that a refresh frees inside the process instead of handing it back to the
// kernel at once. Every refresh parses and drops replies of a few hundred kilobytes; with the
// C library's default trim threshold each cycle pays for fresh pages again, which costs more
// than the parsing itself. Call once at start-up, before any thread is started.
void tuneAllocatorForLongRunningProcess();

// Hands the free memory that the allocator keeps back to the kernel, in the middle of the heap
// too. Worth it once a refresh is over and the program rests until the next one: what a cycle
// frees is scattered between what it keeps, so trimming the top alone gives little back.
void releaseUnusedMemory();

}  // namespace vantrell
