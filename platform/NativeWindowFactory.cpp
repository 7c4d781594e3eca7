#include <atomic>

#include "platform/HeadlessWindow.h"
#include "platform/NativeWindow.h"

namespace {
std::unique_ptr<TNativeWindow> MakeHeadless(TForm& form, void* parent) {
  return std::make_unique<THeadlessWindow>(form, parent);
}
std::atomic<TNativeWindowFactory> installed{nullptr};
}  // namespace

TNativeWindowFactory NativeWindowFactory() {
  const TNativeWindowFactory factory = installed.load(std::memory_order_acquire);
  return factory != nullptr ? factory : &MakeHeadless;
}

void SetNativeWindowFactory(TNativeWindowFactory factory) { installed.store(factory, std::memory_order_release); }
