// What a hostile host does to the floating-point unit before it calls in.
#pragma once

#include <cstdint>

#if defined(__i386__) || defined(__x86_64__)
#if !defined(ONDREL_UNDER_EMULATOR)
// The emulator does not raise unmasked exceptions as traps, so a test that
// relies on a trap proves nothing there.
#define ONDREL_TRAPS_OBSERVABLE 1
#endif

// Clears all six exception masks in both the x87 control word and MXCSR, so
// an invalid operation, a denormal operand, a division by zero, an overflow,
// an underflow or an inexact result all trap.
inline void UnmaskEverything() {
  uint16_t cw;
  __asm__ __volatile__("fnstcw %0" : "=m"(cw));
  cw = static_cast<uint16_t>(cw & ~0x3F);
  __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(cw));
  uint32_t mxcsr;
  __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
  mxcsr &= ~0x1FBFu;  // masks and sticky flags
  __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
}
#endif
