#include "XTestHost.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace xhost {
namespace {

int Shift(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

uint32_t Channel(unsigned long pixel, unsigned long mask) {
  const unsigned long top = mask >> Shift(mask);
  return top == 0 ? 0 : static_cast<uint32_t>(((pixel & mask) >> Shift(mask)) * 255 / top);
}

}  // namespace

THost::THost() {
  // Xlib's own handler, which ends the process at any X error: a host as
  // strict as they come, so that an error of the editor's that escaped it
  // ends the test.
  XSetErrorHandler(nullptr);
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) throw std::runtime_error("no X server: run under scripts/xvfb-session.sh");
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) throw std::runtime_error("no XTest");
}

THost::~THost() { XCloseDisplay(display_); }

Window THost::CreateTopLevel(int x, int y, int width, int height) {
  const int screen = DefaultScreen(display_);
  const Window window =
      XCreateSimpleWindow(display_, RootWindow(display_, screen), x, y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, BlackPixel(display_, screen), WhitePixel(display_, screen));
  XSelectInput(display_, window, StructureNotifyMask);
  XMapWindow(display_, window);
  XEvent event;
  do {
    XWindowEvent(display_, window, StructureNotifyMask, &event);
  } while (event.type != MapNotify);
  return window;
}

void THost::Destroy(Window window) {
  XDestroyWindow(display_, window);
  XSync(display_, False);
}

void THost::Unmap(Window window) {
  XUnmapWindow(display_, window);
  XSync(display_, False);
}

void THost::Map(Window window) {
  XMapWindow(display_, window);
  XSync(display_, False);
}

std::vector<Window> THost::Children(Window parent) {
  Window root = 0, up = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<Window> result;
  if (XQueryTree(display_, parent, &root, &up, &children, &count) != 0) result.assign(children, children + count);
  if (children != nullptr) XFree(children);
  return result;
}

XWindowAttributes THost::Attributes(Window window) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(display_, window, &attributes);
  return attributes;
}

bool THost::Viewable(Window window) { return Attributes(window).map_state == IsViewable; }

void THost::MoveTo(Window window, int x, int y) {
  int rootX = 0, rootY = 0;
  Window child = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(display_, -1, rootX, rootY, CurrentTime);
  XSync(display_, False);
}

void THost::Press(unsigned int button) {
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  XSync(display_, False);
}

void THost::Release(unsigned int button) {
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  XSync(display_, False);
}

void THost::Click(Window window, int x, int y) {
  MoveTo(window, x, y);
  Press();
  Release();
}

TBitmap THost::Capture(Window window) {
  const XWindowAttributes attributes = Attributes(window);
  return Capture(window, TRect{0, 0, attributes.width, attributes.height});
}

TBitmap THost::Capture(Window window, const TRect& area) {
  TBitmap result(area.Width(), area.Height());
  XImage* image = XGetImage(display_, window, area.Left, area.Top, static_cast<unsigned>(area.Width()),
                            static_cast<unsigned>(area.Height()), AllPlanes, ZPixmap);
  if (image == nullptr) return TBitmap{};
  for (int y = 0; y < area.Height(); ++y) {
    for (int x = 0; x < area.Width(); ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      result.SetPixel(x, y,
                      Channel(pixel, image->red_mask) | Channel(pixel, image->green_mask) << 8 |
                          Channel(pixel, image->blue_mask) << 16);
    }
  }
  XDestroyImage(image);
  return result;
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs, const std::function<void()>& between) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (between) between();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace xhost
