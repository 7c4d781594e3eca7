// A small X11 probe for the jalv check: finds a window by its size and
// clicks into a window with real pointer input (XTest), as a user would.
//   ondrel-x11-probe find WIDTH HEIGHT   prints the id of a viewable window
//                                        of that size, or fails
//   ondrel-x11-probe click WINDOW X Y    presses and releases button 1 at
//                                        (X, Y) of the window
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The innermost match: a host's frames around an embedded window often have
// its size too.
Window Find(Display* display, Window window, int width, int height) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
    for (unsigned int i = 0; i < count && found == 0; ++i) found = Find(display, children[i], width, height);
    if (children != nullptr) XFree(children);
  }
  if (found != 0) return found;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable &&
      attributes.width == width && attributes.height == height) {
    return window;
  }
  return 0;
}

int Usage() {
  std::fputs("usage: ondrel-x11-probe find WIDTH HEIGHT | click WINDOW X Y\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fputs("ondrel-x11-probe: no X server\n", stderr);
    return 1;
  }
  int status = 0;
  if (command == "find" && argc == 4) {
    const Window found = Find(display, DefaultRootWindow(display), std::atoi(argv[2]), std::atoi(argv[3]));
    if (found != 0) std::printf("0x%lx\n", found);
    status = found != 0 ? 0 : 1;
  } else if (command == "click" && argc == 5) {
    const Window window = std::strtoul(argv[2], nullptr, 0);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), std::atoi(argv[3]), std::atoi(argv[4]), &x, &y,
                          &child);
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
  } else {
    status = Usage();
  }
  XCloseDisplay(display);
  return status;
}
