#include "FloatGuard.h"

#include <atomic>
#include <cfenv>

namespace FloatGuard {
namespace {

std::atomic<uint16_t> processDefault{kDefaultControlWord};

#if defined(__i386__) || defined(__x86_64__)
constexpr uint32_t kMxcsrMasks = 0x1F80;  // all six SSE exception masks
constexpr uint32_t kMxcsrFlags = 0x003F;  // the six sticky exception flags

bool HasSse() {
#if defined(__x86_64__) || defined(__SSE__)
  return true;
#else
  static const bool has = __builtin_cpu_supports("sse");
  return has;
#endif
}

void LoadX87(uint16_t word) {
  __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(word));
}

void MaskSse() {
  if (!HasSse()) return;
  uint32_t mxcsr = 0;
  __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
  mxcsr = (mxcsr | kMxcsrMasks) & ~kMxcsrFlags;
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
  MaskSse();
#else
  std::feclearexcept(FE_ALL_EXCEPT);
#if defined(__GLIBC__)
  fedisableexcept(FE_ALL_EXCEPT);
#endif
#endif
}

void MaskExceptions() {
#if defined(__i386__) || defined(__x86_64__)
  LoadX87(static_cast<uint16_t>(CurrentControlWord() | 0x013F));
  MaskSse();
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
