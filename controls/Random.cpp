#include "Random.h"

#include "platform/Form.h"

int32_t Random(uint32_t& state, int32_t n) {
  state = state * 134775813u + 1u;
  if (n <= 0) return 0;
  return static_cast<int32_t>((uint64_t{state} * static_cast<uint32_t>(n)) >> 32);
}

uint32_t& RandomStateOf(const TGraphicControl& control) {
  if (TForm* form = control.Parent()) return form->RandomState();
  thread_local uint32_t unplaced = 0;
  return unplaced;
}
