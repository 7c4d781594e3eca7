#include "FailingAllocator.h"

#include <cstdlib>
#include <new>

namespace failingalloc {
std::atomic<long> failAt{0};
std::atomic<long> live{0};
std::atomic<long> made{0};
}  // namespace failingalloc

namespace {
void* Allocate(std::size_t size) {
  using namespace failingalloc;
  if (failAt.load() > 0 && failAt.fetch_sub(1) == 1) throw std::bad_alloc();
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  live.fetch_add(1);
  made.fetch_add(1);
  return p;
}

void Release(void* p) noexcept {
  if (!p) return;
  failingalloc::live.fetch_sub(1);
  std::free(p);
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
