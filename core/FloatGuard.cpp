#include "FloatGuard.h"

#include <atomic>
#include <cfenv>

namespace FloatGuard {
namespace {

std::atomic<uint16_t> processDefault{kDefaultControlWord};

#if defined(__i386__) || defined(__x86_64__)
constexpr uint32_t kMxcsrMasks = 0x1F80;     // all six SSE exception masks
constexpr uint32_t kMxcsrFlags = 0x003F;     // the six sticky exception flags
constexpr uint32_t kMxcsrRounding = 0x6000;  // rounding control; 0 is to nearest

bool HasSse() {
#if defined(__x86_64__) || defined(__SSE__)
  return true;
#else
  static const bool has = __builtin_cpu_supports("sse");
  return has;
#endif
}

void LoadX87(uint16_t word) { __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(word)); }

// The 64-bit builds compute in SSE: what the x87 word's rounding field is
// there, MXCSR's is here, so the guard sets both to nearest. Flush-to-zero
// and denormals-are-zero stay as the host set them for its own processing:
// the denormal offset keeps the signal path away from denormals anyway.
void MaskSse(bool toNearest) {
  if (!HasSse()) return;
  uint32_t mxcsr = 0;
  __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
  mxcsr = (mxcsr | kMxcsrMasks) & ~kMxcsrFlags;
  if (toNearest) mxcsr &= ~kMxcsrRounding;
  __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
}
#endif

}  // namespace

void EstablishProcessDefault() {
  processDefault.store(kDefaultControlWord, std::memory_order_relaxed);
  Apply();
}

void Apply() {
#if defined(__i386__) || defined(__x86_64__)
  LoadX87(processDefault.load(std::memory_order_relaxed));
  MaskSse(true);
#else
  std::feclearexcept(FE_ALL_EXCEPT);
  std::fesetround(FE_TONEAREST);
#if defined(__GLIBC__)
  fedisableexcept(FE_ALL_EXCEPT);
#endif
#endif
}

void MaskExceptions() {
#if defined(__i386__) || defined(__x86_64__)
  LoadX87(static_cast<uint16_t>(CurrentControlWord() | 0x013F));
  MaskSse(false);
#else
  Apply();
#endif
}

uint16_t CurrentControlWord() {
#if defined(__i386__) || defined(__x86_64__)
  uint16_t word = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(word));
  return word;
#else
  return 0;
#endif
}

}  // namespace FloatGuard
