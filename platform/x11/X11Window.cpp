#include "X11Window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "FloatGuard.h"
#include "Form.h"
#include "Screen.h"
#include "X11Errors.h"
#include "X11Input.h"
#include "X11PixelFormat.h"
#include "X11Screen.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask | StructureNotifyMask;
// Events handled in one batch before the window paints and shows the result.
constexpr size_t kBatchLimit = 256;
// Paints may ask for more paints (a knob placing its dot): a few rounds.
constexpr int kPaintRounds = 8;
// While a press lasts, how often the window makes sure the server still
// holds the grab for it.
constexpr auto kGrabCheckInterval = std::chrono::milliseconds(50);

int NativeByteOrder() {
  const uint32_t probe = 1;
  return *reinterpret_cast<const unsigned char*>(&probe) == 1 ? LSBFirst : MSBFirst;
}

class TX11Window final : public TNativeWindow {
 public:
  TX11Window(TForm& form, Display* display, Window parent)
      : form_(form), display_(display), parent_(parent), format_(0, 0, 0, 0) {}
  ~TX11Window() override;

  TX11Window(const TX11Window&) = delete;
  TX11Window& operator=(const TX11Window&) = delete;

  // Everything on the server; false if any of it failed.
  bool Build(const TX11WindowOptions& options);
  // The event thread; false if the system refuses one.
  bool Start();

  void InvalidateArea(const TRect& area) override;
  void Present(const TBitmap& backBuffer, const TRect& area) override;
  // The server grabs the pointer for the window by itself from the press
  // until every button is up (an implicit grab), so a drag may leave the
  // window. An explicit grab would add nothing but the risk of a desktop
  // left grabbed by a stalled thread; capture is the form's bookkeeping.
  void CapturePointer() override;
  void ReleasePointerCapture() override;
  void SetShown(bool shown) override;
  void BringToFront() override;
  void* ParentHandle() const override { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent_)); }
  void StartTimer(uint32_t intervalMs) override;
  void StopTimer() override;
  void Idle() override;
  std::thread::id WindowThread() const override { return windowThread_.load(); }

 private:
  bool CreateImage(Visual* visual, int depth, int32_t width, int32_t height, bool sharedMemory);
  bool CreateSharedImage(Visual* visual, int depth, int32_t width, int32_t height);
  void Run();
  void Pump(bool fromIdle);
  std::vector<XEvent> ReadEvents();
  void Dispatch(const XEvent& event);
  void LoseCapture();
  bool Captured();
  void CheckGrab();
  void TickIfDue();
  void PaintPending();
  void Flush();
  void PutArea(TRect area);
  void Wake();
  bool Dead() const { return x11errors::Dead(display_); }
  // Under xLock_, after X calls: a connection that broke is closed at once,
  // by the thread that saw it break. Xlib leaves a broken connection locked
  // for that thread, so any other thread would wait on it for ever.
  void CloseIfBroken();

  TForm& form_;
  Display* const display_;
  const Window parent_;
  Window window_ = 0;
  GC gc_ = nullptr;
  Colormap colormap_ = 0;
  XImage* image_ = nullptr;
  XShmSegmentInfo shm_{};
  bool shared_ = false;
  bool direct32_ = false;
  TX11PixelFormat format_;
  // Touched only under xLock_.
  bool mapped_ = false;
  bool windowGone_ = false;
  bool closed_ = false;
  // Touched only while pumping (pumps take turns under the EventMutex).
  bool grabCheckDue_ = false;
  TClock::time_point nextGrabCheck_;

  // Every X call on display_.
  std::mutex xLock_;

  int wakeFd_ = -1;
  std::thread thread_;
  std::atomic<std::thread::id> windowThread_{};
  std::atomic<bool> stop_{false};
  // The thread inside Pump: its own requests need no wake-up.
  std::atomic<std::thread::id> pumping_{};

  // The form's requests, waiting for the next pump.
  std::mutex requestLock_;
  TRect paint_;
  TRect present_;
  bool wantShown_ = false;
  bool raise_ = false;
  bool captured_ = false;
  uint32_t interval_ = 0;
  TClock::time_point nextTick_;
};

bool TX11Window::Build(const TX11WindowOptions& options) {
  std::lock_guard<std::mutex> xGuard(xLock_);
  const x11errors::TScope scope;
  const uint32_t errorsBefore = x11errors::ErrorCount(display_);
  XWindowAttributes parent{};
  if (XGetWindowAttributes(display_, parent_, &parent) == 0) {
    XSync(display_, False);
    return false;
  }
  Visual* visual = parent.visual;
  int depth = parent.depth;
  TX11PixelFormat format(visual->red_mask, visual->green_mask, visual->blue_mask, depth);
  XSetWindowAttributes attributes{};
  unsigned long valueMask = CWBackPixmap | CWBorderPixel | CWEventMask | CWBitGravity;
  if (visual->c_class != TrueColor || !format.Usable()) {
    // The host's window has a visual these pixels do not suit (a palette):
    // a child may have a visual of its own, with a colormap to match.
    XVisualInfo info{};
    if (XMatchVisualInfo(display_, XScreenNumberOfScreen(parent.screen), 24, TrueColor, &info) == 0) return false;
    visual = info.visual;
    depth = info.depth;
    format = TX11PixelFormat(visual->red_mask, visual->green_mask, visual->blue_mask, depth);
    if (!format.Usable()) return false;
    colormap_ = XCreateColormap(display_, parent_, visual, AllocNone);
    attributes.colormap = colormap_;
    valueMask |= CWColormap;
  }
  format_ = format;
  // No background: the server leaves exposed areas alone until we paint
  // them, instead of flashing a colour first.
  attributes.background_pixmap = None;
  attributes.border_pixel = 0;
  attributes.event_mask = kEventMask;
  attributes.bit_gravity = NorthWestGravity;
  const int32_t width = std::max(1, form_.ClientWidth());
  const int32_t height = std::max(1, form_.ClientHeight());
  window_ = XCreateWindow(display_, parent_, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                          depth, InputOutput, visual, valueMask, &attributes);
  gc_ = XCreateGC(display_, window_, 0, nullptr);
  XSync(display_, False);
  if (x11errors::ErrorCount(display_) != errorsBefore || Dead()) return false;
  return CreateImage(visual, depth, width, height, options.SharedMemory);
}

bool TX11Window::CreateImage(Visual* visual, int depth, int32_t width, int32_t height, bool sharedMemory) {
  if (sharedMemory && CreateSharedImage(visual, depth, width, height)) return true;
  image_ = XCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                        static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
  if (image_ == nullptr) return false;
  // Freed by XDestroyImage, with free().
  image_->data =
      static_cast<char*>(std::calloc(static_cast<size_t>(image_->bytes_per_line), static_cast<size_t>(height)));
  if (image_->data == nullptr) return false;
  // Written in this machine's order; XPutImage swaps for a server of the
  // other order.
  image_->byte_order = NativeByteOrder();
  if (XInitImage(image_) == 0) return false;
  direct32_ = image_->bits_per_pixel == 32;
  return true;
}

bool TX11Window::CreateSharedImage(Visual* visual, int depth, int32_t width, int32_t height) {
  if (XShmQueryExtension(display_) == False) return false;
  XImage* image = XShmCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &shm_,
                                  static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (image == nullptr) return false;
  // The server reads the segment as it is: only this machine's own order and
  // 32-bit pixels are written straight into it.
  if (image->bits_per_pixel != 32 || image->byte_order != NativeByteOrder()) {
    XDestroyImage(image);
    return false;
  }
  const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height);
  shm_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (shm_.shmid < 0) {
    XDestroyImage(image);
    return false;
  }
  void* address = shmat(shm_.shmid, nullptr, 0);
  if (address == reinterpret_cast<void*>(-1)) {
    shmctl(shm_.shmid, IPC_RMID, nullptr);
    XDestroyImage(image);
    return false;
  }
  shm_.shmaddr = image->data = static_cast<char*>(address);
  shm_.readOnly = False;
  const uint32_t errorsBefore = x11errors::ErrorCount(display_);
  XShmAttach(display_, &shm_);
  XSync(display_, False);
  // Marked for removal now: the segment goes when both sides have let go,
  // even if this process dies.
  shmctl(shm_.shmid, IPC_RMID, nullptr);
  if (x11errors::ErrorCount(display_) != errorsBefore || Dead()) {
    // A server on another machine cannot attach it.
    shmdt(address);
    image->data = nullptr;
    XDestroyImage(image);
    shm_ = XShmSegmentInfo{};
    return false;
  }
  image_ = image;
  shared_ = true;
  direct32_ = true;
  return true;
}

bool TX11Window::Start() {
  wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wakeFd_ < 0) return false;
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (...) {
    return false;
  }
  windowThread_.store(thread_.get_id());
  return true;
}

TX11Window::~TX11Window() {
  stop_.store(true);
  if (thread_.joinable()) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
    thread_.join();
  }
  {
    std::lock_guard<std::mutex> xGuard(xLock_);
    const x11errors::TScope scope;
    if (image_ != nullptr) {
      // Frees memory only; the shared segment goes below.
      if (shared_) image_->data = nullptr;
      XDestroyImage(image_);
    }
    if (!closed_ && !Dead()) {
      if (shared_) XShmDetach(display_, &shm_);
      if (gc_ != nullptr) XFreeGC(display_, gc_);
      // A host that destroyed its own window first took ours with it; asking
      // again only records a BadWindow.
      if (window_ != 0 && !windowGone_) XDestroyWindow(display_, window_);
      if (colormap_ != 0) XFreeColormap(display_, colormap_);
      XSync(display_, False);
    }
    if (shared_) shmdt(shm_.shmaddr);
    if (!closed_) {
      XCloseDisplay(display_);
      x11errors::Unregister(display_);
    }
  }
  if (wakeFd_ >= 0) close(wakeFd_);
}

void TX11Window::CloseIfBroken() {
  if (closed_ || !Dead()) return;
  // Frees only client memory now; the server that held the GC is gone.
  if (gc_ != nullptr) XFreeGC(display_, gc_);
  gc_ = nullptr;
  XCloseDisplay(display_);
  x11errors::Unregister(display_);
  closed_ = true;
}

void TX11Window::Wake() {
  if (pumping_.load() == std::this_thread::get_id() || wakeFd_ < 0) return;
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
}

void TX11Window::InvalidateArea(const TRect& area) {
  {
    std::lock_guard<std::mutex> guard(requestLock_);
    paint_ = paint_.Union(area);
  }
  Wake();
}

void TX11Window::Present(const TBitmap& /*backBuffer*/, const TRect& area) {
  // The pixels are read from the form's back buffer when they go out, under
  // the EventMutex like every other use of the form.
  {
    std::lock_guard<std::mutex> guard(requestLock_);
    present_ = present_.Union(area);
  }
  Wake();
}

void TX11Window::CapturePointer() {
  std::lock_guard<std::mutex> guard(requestLock_);
  captured_ = true;
}

void TX11Window::ReleasePointerCapture() {
  std::lock_guard<std::mutex> guard(requestLock_);
  captured_ = false;
}

bool TX11Window::Captured() {
  std::lock_guard<std::mutex> guard(requestLock_);
  return captured_;
}

void TX11Window::SetShown(bool shown) {
  {
    std::lock_guard<std::mutex> guard(requestLock_);
    wantShown_ = shown;
  }
  Wake();
}

void TX11Window::BringToFront() {
  {
    std::lock_guard<std::mutex> guard(requestLock_);
    raise_ = true;
  }
  Wake();
}

void TX11Window::StartTimer(uint32_t intervalMs) {
  {
    std::lock_guard<std::mutex> guard(requestLock_);
    interval_ = intervalMs;
    nextTick_ = TClock::now() + std::chrono::milliseconds(intervalMs);
  }
  Wake();
}

void TX11Window::StopTimer() {
  std::lock_guard<std::mutex> guard(requestLock_);
  interval_ = 0;
}

void TX11Window::Idle() { Pump(true); }

void TX11Window::Run() {
  try {
    windowThread_.store(std::this_thread::get_id());
    FloatGuard::Apply();
    while (!stop_.load()) {
      int timeout = -1;
      {
        std::lock_guard<std::mutex> guard(requestLock_);
        if (interval_ != 0) {
          const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextTick_ - TClock::now()).count();
          timeout = static_cast<int>(std::clamp<long long>(wait, 0, 60000));
        }
      }
      if (Captured() && (timeout < 0 || timeout > kGrabCheckInterval.count())) {
        timeout = static_cast<int>(kGrabCheckInterval.count());
      }
      bool dead = false;
      {
        // Events Xlib already read (while waiting for a reply) wait in its
        // queue, where the connection's descriptor no longer shows them.
        std::lock_guard<std::mutex> xGuard(xLock_);
        dead = closed_;
        if (!dead && XEventsQueued(display_, QueuedAlready) > 0) timeout = 0;
      }
      pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {dead ? -1 : ConnectionNumber(display_), POLLIN, 0}};
      poll(fds, dead ? 1 : 2, timeout);
      if (stop_.load()) break;
      uint64_t count = 0;
      [[maybe_unused]] const ssize_t got = read(wakeFd_, &count, sizeof count);
      Pump(false);
    }
  } catch (...) {
    // Nothing may leave the thread; the window simply stops being fed.
  }
}

void TX11Window::Pump(bool fromIdle) {
  const std::thread::id self = std::this_thread::get_id();
  if (pumping_.load() == self) return;  // a handler that reached the host's idle call
  std::unique_lock<std::recursive_mutex> formLock(form_.EventMutex(), std::defer_lock);
  if (fromIdle) {
    // Busy elsewhere means the event thread is doing this very work.
    if (!formLock.try_lock()) return;
  } else {
    while (!formLock.try_lock()) {
      if (stop_.load()) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  pumping_.store(self);
  try {
    FloatGuard::Apply();
    for (const XEvent& event : ReadEvents()) Dispatch(event);
    CheckGrab();
    TickIfDue();
    PaintPending();
    Flush();
  } catch (...) {
    // A control's failure must not end the thread or reach the host's idle.
  }
  pumping_.store(std::thread::id{});
  // Paints that paints kept asking for past the last round: the thread
  // carries on with them.
  bool more = false;
  {
    std::lock_guard<std::mutex> guard(requestLock_);
    more = !paint_.IsEmpty() || !present_.IsEmpty();
  }
  if (more) Wake();
}

std::vector<XEvent> TX11Window::ReadEvents() {
  std::vector<XEvent> events;
  std::lock_guard<std::mutex> xGuard(xLock_);
  if (closed_) return events;
  const x11errors::TScope scope;
  while (events.size() < kBatchLimit && !Dead() && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    // Only the latest of a run of moves matters to a knob.
    if (event.type == MotionNotify && !events.empty() && events.back().type == MotionNotify) {
      events.back() = event;
    } else {
      events.push_back(event);
    }
  }
  CloseIfBroken();
  return events;
}

void TX11Window::Dispatch(const XEvent& event) {
  switch (event.type) {
    case Expose: {
      const XExposeEvent& expose = event.xexpose;
      const TRect area = TRect::Bounds(expose.x, expose.y, expose.width, expose.height);
      std::lock_guard<std::mutex> guard(requestLock_);
      paint_ = paint_.Union(area);
      break;
    }
    case ButtonPress: {
      TMouseButton button;
      if (!x11input::ButtonFromX(event.xbutton.button, button)) break;
      form_.PointerDown(button, x11input::ShiftAtPress(event.xbutton.state, button), event.xbutton.x, event.xbutton.y);
      break;
    }
    case ButtonRelease: {
      TMouseButton button;
      if (!x11input::ButtonFromX(event.xbutton.button, button)) break;
      form_.PointerUp(button, x11input::ShiftAtRelease(event.xbutton.state, button), event.xbutton.x, event.xbutton.y);
      break;
    }
    case MotionNotify:
      form_.PointerMove(x11input::ShiftFromX(event.xmotion.state), event.xmotion.x, event.xmotion.y);
      break;
    case EnterNotify:
    case LeaveNotify:
      // The server ended the grab without a release reaching us, or the
      // pointer left because the window (or one it lives in) went.
      if (event.xcrossing.mode == NotifyUngrab && Captured()) {
        LoseCapture();
      } else {
        grabCheckDue_ = true;
      }
      break;
    case UnmapNotify:
      if (Captured()) LoseCapture();
      break;
    case DestroyNotify:
      if (event.xdestroywindow.window == window_) {
        {
          std::lock_guard<std::mutex> xGuard(xLock_);
          windowGone_ = true;
        }
        if (Captured()) LoseCapture();
      }
      break;
    default: break;
  }
}

void TX11Window::LoseCapture() {
  {
    std::lock_guard<std::mutex> guard(requestLock_);
    captured_ = false;
  }
  form_.CaptureLost();
}

namespace {
// Looks through the queue (reading what has arrived) without taking anything.
Bool SpotRelease(Display* /*display*/, XEvent* event, XPointer found) {
  if (event->type == ButtonRelease) *reinterpret_cast<bool*>(found) = true;
  return False;
}
}  // namespace

// A grab ends without a release reaching the window when the window stops
// being viewable (the host hides or reparents its own window mid-drag) or
// when the button goes up after that; the server tells the window neither
// for certain. So while a press lasts the window asks: still viewable, the
// button still down or its release on the way?
void TX11Window::CheckGrab() {
  if (!Captured()) return;
  const TClock::time_point now = TClock::now();
  if (!grabCheckDue_ && now < nextGrabCheck_) return;
  grabCheckDue_ = false;
  nextGrabCheck_ = now + kGrabCheckInterval;
  bool lost = true;
  {
    std::lock_guard<std::mutex> xGuard(xLock_);
    if (!closed_ && !windowGone_) {
      const x11errors::TScope scope;
      XWindowAttributes attributes{};
      const bool viewable =
          XGetWindowAttributes(display_, window_, &attributes) != 0 && attributes.map_state == IsViewable;
      Window root = 0, child = 0;
      int rootX = 0, rootY = 0, x = 0, y = 0;
      unsigned int buttons = 0;
      XQueryPointer(display_, window_, &root, &child, &rootX, &rootY, &x, &y, &buttons);
      // A release the server sent before its answer is in the queue by now.
      bool releaseQueued = false;
      XEvent ignored;
      XCheckIfEvent(display_, &ignored, &SpotRelease, reinterpret_cast<XPointer>(&releaseQueued));
      lost = !viewable || ((buttons & Button1Mask) == 0 && !releaseQueued);
      XSync(display_, False);
      CloseIfBroken();
    }
  }
  if (lost) LoseCapture();
}

void TX11Window::TickIfDue() {
  bool due = false;
  {
    std::lock_guard<std::mutex> guard(requestLock_);
    const TClock::time_point now = TClock::now();
    if (interval_ != 0 && now >= nextTick_) {
      due = true;
      // Late ticks are not made up for: one tick, then the next interval.
      nextTick_ = now + std::chrono::milliseconds(interval_);
    }
  }
  if (due) form_.TimerTick();
}

void TX11Window::PaintPending() {
  for (int round = 0; round < kPaintRounds; ++round) {
    TRect area;
    {
      std::lock_guard<std::mutex> guard(requestLock_);
      area = paint_;
      paint_ = TRect{};
    }
    if (area.IsEmpty()) return;
    form_.PaintArea(area);
  }
}

void TX11Window::Flush() {
  bool shown = false;
  bool raise = false;
  TRect present;
  {
    std::lock_guard<std::mutex> guard(requestLock_);
    shown = wantShown_;
    raise = raise_;
    raise_ = false;
    present = present_;
    present_ = TRect{};
  }
  std::lock_guard<std::mutex> xGuard(xLock_);
  if (closed_ || windowGone_) return;
  // Nothing to send, nothing to wait for: a broken connection still shows
  // on the next read.
  if (shown == mapped_ && !raise && present.IsEmpty()) return;
  const x11errors::TScope scope;
  if (shown != mapped_) {
    if (shown) {
      XMapWindow(display_, window_);
    } else {
      XUnmapWindow(display_, window_);
    }
    mapped_ = shown;
  }
  if (raise) XRaiseWindow(display_, window_);
  if (!present.IsEmpty()) PutArea(present);
  // Every reply and error of this batch arrives inside the scope; and a
  // shared image may be written again once the server has read it.
  XSync(display_, False);
  CloseIfBroken();
}

void TX11Window::PutArea(TRect area) {
  const TBitmap& buffer = form_.BackBuffer();
  area =
      area.Intersect(TRect{0, 0, std::min(image_->width, buffer.Width()), std::min(image_->height, buffer.Height())});
  if (area.IsEmpty()) return;
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const TColour* source = buffer.Row(y) + area.Left;
    if (direct32_) {
      auto* target = reinterpret_cast<uint32_t*>(image_->data + static_cast<ptrdiff_t>(y) * image_->bytes_per_line);
      format_.ConvertRow(source, target + area.Left, area.Width());
    } else {
      for (int32_t x = 0; x < area.Width(); ++x) XPutPixel(image_, area.Left + x, y, format_.Pixel(source[x]));
    }
  }
  const auto width = static_cast<unsigned>(area.Width());
  const auto height = static_cast<unsigned>(area.Height());
  if (shared_) {
    XShmPutImage(display_, window_, gc_, image_, area.Left, area.Top, area.Left, area.Top, width, height, False);
  } else {
    XPutImage(display_, window_, gc_, image_, area.Left, area.Top, area.Left, area.Top, width, height);
  }
}

std::unique_ptr<TNativeWindow> MakeX11Window(TForm& form, void* parent) { return CreateX11Window(form, parent); }

}  // namespace

std::unique_ptr<TNativeWindow> CreateX11Window(TForm& form, void* parent, const TX11WindowOptions& options) {
  if (parent == nullptr) return nullptr;
  try {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    x11errors::Register(display);
    const Window parentWindow = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
    std::unique_ptr<TX11Window> window;
    try {
      window = std::make_unique<TX11Window>(form, display, parentWindow);
    } catch (...) {
      XCloseDisplay(display);
      x11errors::Unregister(display);
      throw;
    }
    // A window that failed on the way tidies up after itself as it goes.
    if (!window->Build(options) || !window->Start()) return nullptr;
    return window;
  } catch (...) {
    return nullptr;
  }
}

TNativeWindowFactory X11WindowFactory() {
  SetPixelsPerInchSource(&X11ScreenPixelsPerInch);
  return &MakeX11Window;
}
