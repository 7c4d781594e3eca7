// The plug-in as a guest in a host's process: the host's X error handler is
// the host's before, during and after the editor, and after the library is
// gone. A program of its own, so that the library is loaded only here and
// dlclose really unloads it.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/QuietHost.h"
#include "host/VstAbi.h"
#include "tests/platform/x11/XTestHost.h"
#include "tools/hostkit/PluginLibrary.h"

namespace {

constexpr int kRateX = 384, kRateY = 101;
constexpr int32_t kRate = 4;

std::atomic<int> hostErrors{0};
int HostHandler(Display* /*display*/, XErrorEvent* /*event*/) {
  ++hostErrors;
  return 0;
}
// What a toolkit puts in place around a stretch of its own requests.
int TrapHandler(Display* /*display*/, XErrorEvent* /*event*/) { return 0; }

TEST(PluginUnloadTest, TheHostsErrorHandlerOutlivesTheEditorAndTheLibrary) {
  xhost::THost host;
  XSetErrorHandler(&HostHandler);
  const Window top = host.CreateTopLevel(100, 100, 600, 340);
  const std::string path = hostkit::DefaultPluginPath();
  std::string error;
  std::unique_ptr<hostkit::PluginLibrary> library = hostkit::PluginLibrary::Open(path, error);
  ASSERT_NE(library, nullptr) << error;
  AEffect* effect = library->entry()(QuietHost);
  ASSERT_NE(effect, nullptr);
  auto dispatch = [&](int32_t opcode, void* ptr = nullptr) { return effect->dispatcher(effect, opcode, 0, 0, ptr, 0); };
  auto idled = [&](const std::function<bool()>& condition) {
    return xhost::WaitFor(condition, 5000, [&] { dispatch(effEditIdle); });
  };

  // A GTK host traps errors on its own thread all the time.
  std::atomic<bool> trapping{true};
  std::thread trap([&] {
    for (int i = 0; trapping; ++i) {
      const XErrorHandler saved = XSetErrorHandler(&TrapHandler);
      std::this_thread::yield();
      XSetErrorHandler(saved);
      std::this_thread::sleep_for(std::chrono::microseconds(100 + 97 * (i % 10)));
    }
  });

  ASSERT_EQ(dispatch(effEditOpen, reinterpret_cast<void*>(top)), 1);
  const std::vector<Window> children = host.Children(top);
  ASSERT_EQ(children.size(), 1u);
  const Window editor = children[0];
  EXPECT_TRUE(idled([&] { return host.Viewable(editor); }));
  for (int round = 0; round < 20; ++round) {
    // Dragged by the pointer, turned by automation: paints all the way.
    host.MoveTo(editor, kRateX, kRateY);
    host.Press();
    for (int step = 1; step <= 5; ++step) {
      host.MoveTo(editor, kRateX, kRateY - step * 8 * (round % 2 == 0 ? 1 : -1));
      dispatch(effEditIdle);
    }
    host.Release();
    effect->setParameter(effect, kRate, static_cast<float>(round % 7) / 6.0f);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    dispatch(effEditIdle);
  }
  trapping = false;
  trap.join();

  dispatch(effEditClose);
  EXPECT_TRUE(host.Children(top).empty());
  dispatch(effClose);
  library.reset();
  EXPECT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "the library stayed loaded";

  // An error of the host's own, after the unload, reaches the host's
  // handler (a handler left behind in the library would crash here).
  XMapWindow(host.display(), 0x3FFFFFFF);
  XSync(host.display(), False);
  EXPECT_EQ(hostErrors.load(), 1);
  EXPECT_EQ(XSetErrorHandler(&HostHandler), &HostHandler);
}

}  // namespace
