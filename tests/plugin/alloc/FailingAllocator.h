// A test program's own operator new, exported so that a plug-in loaded into
// the program allocates through it: every allocation is counted, and one of
// them can be made to fail on cue.
#pragma once

#include <atomic>

namespace failingalloc {
// Allocation number at which to fail (1 = the next one); 0 = never.
extern std::atomic<long> failAt;
// Allocations not yet freed.
extern std::atomic<long> live;
// Allocations made since the program started.
extern std::atomic<long> made;
}  // namespace failingalloc
