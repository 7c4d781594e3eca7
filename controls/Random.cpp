#include "Random.h"

namespace {
uint32_t state = 0;
}

int32_t Random(int32_t n) {
  state = state * 134775813u + 1u;
  if (n <= 0) return 0;
  return static_cast<int32_t>((uint64_t{state} * static_cast<uint32_t>(n)) >> 32);
}

uint32_t RandomState() { return state; }

void SetRandomState(uint32_t newState) { state = newState; }
