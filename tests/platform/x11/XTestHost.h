// A plain Xlib host for the window tests: its own connection, top-level
// windows to embed into, real pointer input through XTest, and the pixels a
// window shows read back from the server.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <vector>

#include "platform/Bitmap.h"

namespace xhost {

class THost {
 public:
  THost();
  ~THost();
  THost(const THost&) = delete;
  THost& operator=(const THost&) = delete;

  Display* display() const { return display_; }
  // Mapped at (x, y) on the screen, once the server shows it.
  Window CreateTopLevel(int x, int y, int width, int height);
  void Destroy(Window window);
  void Unmap(Window window);
  void Map(Window window);
  std::vector<Window> Children(Window parent);
  // Viewable: mapped, with every ancestor mapped.
  bool Viewable(Window window);
  XWindowAttributes Attributes(Window window);

  // The pointer to (x, y) of the window (outside it too), buttons down and up.
  void MoveTo(Window window, int x, int y);
  void Press(unsigned int button = 1);
  void Release(unsigned int button = 1);
  void Click(Window window, int x, int y);

  // What the window shows, in the form's colour layout (0x00BBGGRR).
  TBitmap Capture(Window window);
  TBitmap Capture(Window window, const TRect& area);

 private:
  Display* display_ = nullptr;
};

// Polls until the condition holds; false after the timeout. `between` runs
// before every look (a host's idle call, for instance).
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000,
             const std::function<void()>& between = nullptr);

}  // namespace xhost
