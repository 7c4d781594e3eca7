// The host for tests that only need the plug-in to run: it answers the VST
// version the plug-in asks for at its start and nothing else. It records
// nothing, so it allocates nothing and takes no lock: fit for tests that count
// allocations or call the plug-in from several threads.
#pragma once

#include "host/VstAbi.h"

namespace harness {

constexpr intptr_t kHostVersion = 2400;

inline intptr_t VSTCALLBACK QuietHost(AEffect* /*effect*/, int32_t opcode, int32_t /*index*/, intptr_t /*value*/,
                                      void* /*ptr*/, float /*opt*/) {
  return opcode == audioMasterVersion ? kHostVersion : 0;
}

}  // namespace harness
