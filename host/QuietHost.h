// The host callback for programs that host the effect object themselves and
// need it only to run: it answers the VST version the effect asks for at its
// start and nothing else. The LV2 adapter, the tools, the benchmarks and the
// tests use it. It records nothing, so it allocates nothing and takes no
// lock: fit for counting allocations or calling from several threads.
#pragma once

#include "host/VstAbi.h"

constexpr intptr_t kQuietHostVersion = 2400;

inline intptr_t VSTCALLBACK QuietHost(AEffect* /*effect*/, int32_t opcode, int32_t /*index*/, intptr_t /*value*/,
                                      void* /*ptr*/, float /*opt*/) {
  return opcode == audioMasterVersion ? kQuietHostVersion : 0;
}
