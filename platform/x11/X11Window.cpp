#include "X11Window.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "core/FloatGuard.h"
#include "platform/Form.h"
#include "platform/Screen.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11ImageFormat.h"
#include "platform/x11/X11Input.h"
#include "platform/x11/X11PixelFormat.h"
#include "platform/x11/X11Screen.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr uint32_t kEventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW |
                                XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
// Events handled in one batch before the window paints and shows the result.
constexpr size_t kBatchLimit = 256;
// Paints may ask for more paints (a knob placing its dot): a few rounds.
constexpr int kPaintRounds = 8;
// Pixels over the connection go in requests no longer than every server
// takes (the core protocol's limit, without BIG-REQUESTS): the strip buffer
// stays small, and other clients' requests get their turn in between.
constexpr uint64_t kLongestImageRequestBytes = uint64_t{65535} * 4;
// While a press lasts, how often the window makes sure the server still
// holds the grab for it.
constexpr auto kGrabCheckInterval = std::chrono::milliseconds(50);

// The event's kind without the bit that marks events sent by other clients.
uint8_t Kind(const xcb_generic_event_t& event) { return event.response_type & 0x7F; }

template <class T>
const T& As(const xcb_generic_event_t& event) {
  static_assert(sizeof(T) <= sizeof(xcb_generic_event_t), "a core event");
  return *reinterpret_cast<const T*>(&event);
}

class TX11Window final : public TNativeWindow {
 public:
  explicit TX11Window(TForm& form, xcb_window_t parent) : form_(form), parent_(parent), format_(0, 0, 0, 0) {}
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
  // Made in Build, before the window is handed out; fixed from then on.
  void* Handle() const override { return reinterpret_cast<void*>(static_cast<uintptr_t>(window_)); }
  void StartTimer(uint32_t intervalMs) override;
  void StopTimer() override;
  std::thread::id WindowThread() const override { return windowThread_.load(); }

 private:
  bool CreateImage(int32_t width, int32_t height, bool sharedMemory);
  bool CreateSharedImage(int32_t width, int32_t height);
  void Run();
  int TimeoutMs();
  void Pump();
  std::vector<xcb_generic_event_t> ReadEvents();
  bool TakeQueuedEvents();
  void Dispatch(const xcb_generic_event_t& event);
  void LoseCapture();
  bool Captured();
  void CheckGrab();
  void TickIfDue();
  void PaintPending();
  void Flush();
  void PutArea(TRect area);
  void PutStrips(const TBitmap& buffer, const TRect& area);
  void Wake();
  // Under xLock_: nothing more is sent to the window.
  bool Silent() const { return connection_.Broken() || windowGone_; }

  TForm& form_;
  // Used under xLock_, and polled by the event thread without it: the
  // connection closes only in the destructor, after the event thread has
  // ended. A broken connection stays open (and reads as broken) until then.
  const TX11Connection connection_;
  const xcb_window_t parent_;
  xcb_window_t window_ = 0;
  xcb_gcontext_t gc_ = 0;
  xcb_colormap_t colormap_ = 0;
  uint8_t depth_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  TX11PixelFormat format_;
  TX11ImageFormat image_{32, 32, true};
  // The shared segment the server reads the pixels from, when there is one.
  xcb_shm_seg_t segment_ = 0;
  uint8_t* shared_ = nullptr;
  // Otherwise a strip of rows at a time goes out over the connection.
  uint64_t maximumRequestBytes_ = 0;
  std::vector<uint8_t> strip_;
  // Touched only under xLock_.
  bool mapped_ = false;
  bool windowGone_ = false;
  // Events XCB already read (while waiting for a reply) and that the pump
  // has not handled yet; the connection's descriptor no longer shows them.
  std::deque<xcb_generic_event_t> queued_;
  // Touched only while pumping (pumps take turns under the EventMutex).
  bool grabCheckDue_ = false;
  TClock::time_point nextGrabCheck_;

  // Every use of the connection but polling its descriptor.
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
  if (connection_.Broken()) return false;
  xcb_connection_t* c = connection_.Get();
  const xcb_get_window_attributes_cookie_t attributesAsked = xcb_get_window_attributes(c, parent_);
  const xcb_get_geometry_cookie_t geometryAsked = xcb_get_geometry(c, parent_);
  xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(c, attributesAsked, nullptr);
  xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, geometryAsked, nullptr);
  const bool parentExists = attributes != nullptr && geometry != nullptr;
  const xcb_visualid_t parentVisual = attributes != nullptr ? attributes->visual : 0;
  const xcb_window_t root = geometry != nullptr ? geometry->root : 0;
  std::free(attributes);
  std::free(geometry);
  if (!parentExists) return false;
  const xcb_screen_t* screen = connection_.ScreenOfRoot(root);
  if (screen == nullptr) return false;

  uint8_t depth = 0;
  const xcb_visualtype_t* visual = FindVisual(screen, parentVisual, depth);
  auto formatOf = [](const xcb_visualtype_t* v, uint8_t d) {
    return TX11PixelFormat(v->red_mask, v->green_mask, v->blue_mask, d);
  };
  uint32_t valueMask = XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_BIT_GRAVITY | XCB_CW_EVENT_MASK;
  if (visual == nullptr || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR || !formatOf(visual, depth).Usable()) {
    // The host's window has a visual these pixels do not suit (a palette):
    // a child may have a visual of its own, with a colormap to match.
    depth = 24;
    visual = FindTrueColourVisual(screen, depth);
    if (visual == nullptr || !formatOf(visual, depth).Usable()) return false;
    colormap_ = xcb_generate_id(c);
    xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, colormap_, parent_, visual->visual_id);
    valueMask |= XCB_CW_COLORMAP;
  }
  format_ = formatOf(visual, depth);
  const xcb_setup_t* setup = xcb_get_setup(c);
  const xcb_format_t* pixmapFormat = PixmapFormatOfDepth(setup, depth);
  if (pixmapFormat == nullptr) return false;
  image_ = TX11ImageFormat(pixmapFormat->bits_per_pixel, pixmapFormat->scanline_pad,
                           setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST);
  if (!image_.Usable()) return false;
  depth_ = depth;

  width_ = std::max(1, form_.ClientWidth());
  height_ = std::max(1, form_.ClientHeight());
  // In the order of their bits: no background, so that the server leaves
  // exposed areas alone until we paint them instead of flashing a colour.
  const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, XCB_GRAVITY_NORTH_WEST, kEventMask, colormap_};
  window_ = xcb_generate_id(c);
  const xcb_void_cookie_t created = xcb_create_window_checked(
      c, depth, window_, parent_, 0, 0, static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), 0,
      XCB_WINDOW_CLASS_INPUT_OUTPUT, visual->visual_id, valueMask, values);
  gc_ = xcb_generate_id(c);
  const xcb_void_cookie_t gcCreated = xcb_create_gc_checked(c, gc_, window_, 0, nullptr);
  const bool windowMade = connection_.Succeeded(created);
  if (!connection_.Succeeded(gcCreated) || !windowMade) return false;
  return CreateImage(width_, height_, options.SharedMemory);
}

bool TX11Window::CreateImage(int32_t width, int32_t height, bool sharedMemory) {
  if (sharedMemory && CreateSharedImage(width, height)) return true;
  maximumRequestBytes_ =
      std::min(uint64_t{xcb_get_maximum_request_length(connection_.Get())} * 4, kLongestImageRequestBytes);
  return RowsPerImageRequest(maximumRequestBytes_, image_.BytesPerLine(width)) > 0 && !connection_.Broken();
}

bool TX11Window::CreateSharedImage(int32_t width, int32_t height) {
  xcb_connection_t* c = connection_.Get();
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_shm_id);
  if (extension == nullptr || extension->present == 0) return false;
  // The server reads the segment as it is: only this machine's own order and
  // 32-bit pixels are written straight into it.
  if (!image_.Native32()) return false;
  const size_t bytes = image_.BytesPerLine(width) * static_cast<size_t>(height);
  const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id < 0) return false;
  void* address = shmat(id, nullptr, 0);
  if (address == reinterpret_cast<void*>(-1)) {
    shmctl(id, IPC_RMID, nullptr);
    return false;
  }
  const xcb_shm_seg_t segment = xcb_generate_id(c);
  const bool attached = connection_.Succeeded(xcb_shm_attach_checked(c, segment, static_cast<uint32_t>(id), 1));
  // Marked for removal now: the segment goes when both sides have let go,
  // even if this process dies.
  shmctl(id, IPC_RMID, nullptr);
  if (!attached) {
    // A server on another machine cannot attach it.
    shmdt(address);
    return false;
  }
  segment_ = segment;
  shared_ = static_cast<uint8_t*>(address);
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
    // No other thread uses the connection any more: it goes with this object.
    std::lock_guard<std::mutex> xGuard(xLock_);
    xcb_connection_t* c = connection_.Get();
    if (!connection_.Broken()) {
      if (segment_ != 0) xcb_shm_detach(c, segment_);
      if (gc_ != 0) xcb_free_gc(c, gc_);
      // A host that destroyed its own window first took ours with it; asking
      // again only earns an error.
      if (window_ != 0 && !windowGone_) xcb_destroy_window(c, window_);
      if (colormap_ != 0) xcb_free_colormap(c, colormap_);
      // Gone from the server before the host's next look.
      connection_.RoundTrip();
    }
    if (shared_ != nullptr) shmdt(shared_);
  }
  if (wakeFd_ >= 0) close(wakeFd_);
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

// Until the next tick, or a grab check while a press lasts; -1 for none.
int TX11Window::TimeoutMs() {
  std::lock_guard<std::mutex> guard(requestLock_);
  int timeout = -1;
  if (interval_ != 0) {
    // Rounded up: a wait cut short wakes before the tick is due, finds
    // nothing to do and, with less than a millisecond left, polls again and
    // again without sleeping until it is.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextTick_ - TClock::now()).count();
    timeout = static_cast<int>(std::clamp<long long>(wait, 0, 60000));
  }
  if (captured_ && (timeout < 0 || timeout > kGrabCheckInterval.count())) {
    timeout = static_cast<int>(kGrabCheckInterval.count());
  }
  return timeout;
}

void TX11Window::Run() {
  try {
    windowThread_.store(std::this_thread::get_id());
    FloatGuard::Apply();
    // XCB looks for input before it writes, so it reads a server that went
    // away as such; one that goes between that look and the write raises
    // SIGPIPE in the writing thread, whose default action would end the
    // host. In this thread it stays pending and harmless (the mask is the
    // thread's own, not the process's).
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    while (!stop_.load()) {
      int timeout = TimeoutMs();
      bool listen = false;
      {
        std::lock_guard<std::mutex> xGuard(xLock_);
        // A broken connection's descriptor reads as hung up for ever.
        listen = !connection_.Broken();
        if (listen && TakeQueuedEvents()) timeout = 0;
      }
      // The descriptor stays open until the destructor, which joins this
      // thread first: polling it outside the lock is safe.
      pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {connection_.Descriptor(), POLLIN, 0}};
      poll(fds, listen ? 2 : 1, timeout);
      if (stop_.load()) break;
      uint64_t count = 0;
      [[maybe_unused]] const ssize_t got = read(wakeFd_, &count, sizeof count);
      Pump();
    }
  } catch (...) {
    // Nothing may leave the thread; the window simply stops being fed.
  }
}

void TX11Window::Pump() {
  std::unique_lock<std::recursive_mutex> formLock(form_.EventMutex(), std::defer_lock);
  while (!formLock.try_lock()) {
    if (stop_.load()) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  pumping_.store(std::this_thread::get_id());
  try {
    FloatGuard::Apply();
    for (const xcb_generic_event_t& event : ReadEvents()) Dispatch(event);
    CheckGrab();
    TickIfDue();
    PaintPending();
    Flush();
  } catch (...) {
    // A control's failure must not end the thread.
  }
  pumping_.store(std::thread::id{});
  // Paints that paints kept asking for past the last round, and events XCB
  // read while this pump waited for the server: the thread carries on with
  // them.
  bool more = false;
  {
    std::lock_guard<std::mutex> guard(requestLock_);
    more = !paint_.IsEmpty() || !present_.IsEmpty();
  }
  if (!more) {
    std::lock_guard<std::mutex> xGuard(xLock_);
    more = !connection_.Broken() && TakeQueuedEvents();
  }
  if (more) Wake();
}

// Under xLock_: moves what XCB has already read into queued_, without
// reading more; true when something waits there.
bool TX11Window::TakeQueuedEvents() {
  while (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_.Get())) {
    queued_.push_back(*event);
    std::free(event);
  }
  return !queued_.empty();
}

std::vector<xcb_generic_event_t> TX11Window::ReadEvents() {
  std::vector<xcb_generic_event_t> events;
  std::lock_guard<std::mutex> xGuard(xLock_);
  while (events.size() < kBatchLimit) {
    xcb_generic_event_t event{};
    if (!queued_.empty()) {
      event = queued_.front();
      queued_.pop_front();
    } else if (xcb_generic_event_t* read = xcb_poll_for_event(connection_.Get())) {
      event = *read;
      std::free(read);
    } else {
      break;  // nothing more, or the connection broke
    }
    // An error event: a request the server refused (on a window the host
    // destroyed, for instance), which the window survives.
    if (event.response_type == 0) continue;
    // Only the latest of a run of moves matters to a knob.
    if (Kind(event) == XCB_MOTION_NOTIFY && !events.empty() && Kind(events.back()) == XCB_MOTION_NOTIFY) {
      events.back() = event;
    } else {
      events.push_back(event);
    }
  }
  return events;
}

void TX11Window::Dispatch(const xcb_generic_event_t& event) {
  switch (Kind(event)) {
    case XCB_EXPOSE: {
      const auto& expose = As<xcb_expose_event_t>(event);
      const TRect area = TRect::Bounds(expose.x, expose.y, expose.width, expose.height);
      std::lock_guard<std::mutex> guard(requestLock_);
      paint_ = paint_.Union(area);
      break;
    }
    case XCB_BUTTON_PRESS: {
      const auto& press = As<xcb_button_press_event_t>(event);
      TMouseButton button;
      if (!x11input::ButtonFromX(press.detail, button)) break;
      form_.PointerDown(button, x11input::ShiftAtPress(press.state, button), press.event_x, press.event_y);
      break;
    }
    case XCB_BUTTON_RELEASE: {
      const auto& release = As<xcb_button_release_event_t>(event);
      TMouseButton button;
      if (!x11input::ButtonFromX(release.detail, button)) break;
      form_.PointerUp(button, x11input::ShiftAtRelease(release.state, button), release.event_x, release.event_y);
      break;
    }
    case XCB_MOTION_NOTIFY: {
      const auto& motion = As<xcb_motion_notify_event_t>(event);
      form_.PointerMove(x11input::ShiftFromX(motion.state), motion.event_x, motion.event_y);
      break;
    }
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY:
      // The server ended the grab without a release reaching us, or the
      // pointer left because the window (or one it lives in) went.
      if (As<xcb_enter_notify_event_t>(event).mode == XCB_NOTIFY_MODE_UNGRAB && Captured()) {
        LoseCapture();
      } else {
        grabCheckDue_ = true;
      }
      break;
    case XCB_UNMAP_NOTIFY:
      if (Captured()) LoseCapture();
      break;
    case XCB_DESTROY_NOTIFY:
      if (As<xcb_destroy_notify_event_t>(event).window == window_) {
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
    if (!Silent()) {
      xcb_connection_t* c = connection_.Get();
      const xcb_get_window_attributes_cookie_t attributesAsked = xcb_get_window_attributes(c, window_);
      const xcb_query_pointer_cookie_t pointerAsked = xcb_query_pointer(c, window_);
      xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(c, attributesAsked, nullptr);
      xcb_query_pointer_reply_t* pointer = xcb_query_pointer_reply(c, pointerAsked, nullptr);
      const bool viewable = attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
      const bool buttonDown = pointer != nullptr && (pointer->mask & XCB_BUTTON_MASK_1) != 0;
      std::free(attributes);
      std::free(pointer);
      // A release the server sent before its answers has been read by now.
      TakeQueuedEvents();
      const bool releaseQueued = std::any_of(queued_.begin(), queued_.end(), [](const xcb_generic_event_t& event) {
        return Kind(event) == XCB_BUTTON_RELEASE;
      });
      lost = !viewable || (!buttonDown && !releaseQueued);
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
  if (Silent()) return;
  // Nothing to send, nothing to wait for.
  if (shown == mapped_ && !raise && present.IsEmpty()) return;
  xcb_connection_t* c = connection_.Get();
  if (shown != mapped_) {
    if (shown) {
      xcb_map_window(c, window_);
    } else {
      xcb_unmap_window(c, window_);
    }
    mapped_ = shown;
  }
  if (raise) {
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, window_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
  }
  if (!present.IsEmpty()) PutArea(present);
  if (shared_ != nullptr && !present.IsEmpty()) {
    // The shared segment may be written again once the server has read it.
    connection_.RoundTrip();
  } else {
    xcb_flush(c);
  }
}

void TX11Window::PutArea(TRect area) {
  const TBitmap& buffer = form_.BackBuffer();
  area = area.Intersect(TRect{0, 0, std::min(width_, buffer.Width()), std::min(height_, buffer.Height())});
  if (area.IsEmpty()) return;
  if (shared_ == nullptr) {
    PutStrips(buffer, area);
    return;
  }
  const size_t stride = image_.BytesPerLine(width_);
  const size_t left = image_.BytesPerLine(area.Left);
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    image_.StoreRow(format_, buffer.Row(y) + area.Left, area.Width(), shared_ + static_cast<size_t>(y) * stride + left);
  }
  xcb_shm_put_image(connection_.Get(), window_, gc_, static_cast<uint16_t>(width_), static_cast<uint16_t>(height_),
                    static_cast<uint16_t>(area.Left), static_cast<uint16_t>(area.Top),
                    static_cast<uint16_t>(area.Width()), static_cast<uint16_t>(area.Height()),
                    static_cast<int16_t>(area.Left), static_cast<int16_t>(area.Top), depth_, XCB_IMAGE_FORMAT_Z_PIXMAP,
                    0, segment_, 0);
}

// The area in strips of whole rows, each as large as one request may be.
void TX11Window::PutStrips(const TBitmap& buffer, const TRect& area) {
  const size_t stride = image_.BytesPerLine(area.Width());
  const int32_t rows = std::min(RowsPerImageRequest(maximumRequestBytes_, stride), area.Height());
  if (rows <= 0) return;
  strip_.resize(stride * static_cast<size_t>(rows));
  for (int32_t top = area.Top; top < area.Bottom; top += rows) {
    const int32_t height = std::min(rows, area.Bottom - top);
    for (int32_t y = 0; y < height; ++y) {
      image_.StoreRow(format_, buffer.Row(top + y) + area.Left, area.Width(),
                      strip_.data() + static_cast<size_t>(y) * stride);
    }
    xcb_put_image(connection_.Get(), XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_, static_cast<uint16_t>(area.Width()),
                  static_cast<uint16_t>(height), static_cast<int16_t>(area.Left), static_cast<int16_t>(top), 0, depth_,
                  static_cast<uint32_t>(stride * static_cast<size_t>(height)), strip_.data());
  }
}

std::unique_ptr<TNativeWindow> MakeX11Window(TForm& form, void* parent) { return CreateX11Window(form, parent); }

}  // namespace

std::unique_ptr<TNativeWindow> CreateX11Window(TForm& form, void* parent, const TX11WindowOptions& options) {
  if (parent == nullptr) return nullptr;
  try {
    const auto parentWindow = static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(parent));
    auto window = std::make_unique<TX11Window>(form, parentWindow);
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
