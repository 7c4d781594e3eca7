// The one pseudo-random generator of the control library. Its state is 0 when
// the library loads and is never reseeded, so a session's pictures follow from
// the order in which controls draw.
#pragma once

#include <cstdint>

// state := state * 134775813 + 1 (mod 2^32); the result is the high 32 bits
// of state * n, a number in 0 .. n - 1. For n <= 0 the state still advances
// and the result is 0.
int32_t Random(int32_t n);

// The generator's state, for tests that need a known sequence; the library
// itself never sets it.
uint32_t RandomState();
void SetRandomState(uint32_t state);
