// What a form needs of a real window: somewhere to show its finished pixels,
// a way to ask for a paint later, pointer capture, showing and hiding inside
// the host's window, and a timer. The window in turn feeds the form its paint
// requests, pointer input and timer ticks (see TForm), all on one thread: the
// window thread.
#pragma once

#include <cstdint>
#include <memory>
#include <thread>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

class TForm;

class TNativeWindow {
 public:
  virtual ~TNativeWindow() = default;
  // The area needs painting; the window calls TForm::PaintArea for it later.
  virtual void InvalidateArea(const TRect& area) = 0;
  // The form finished the area of its back buffer; show it.
  virtual void Present(const TBitmap& backBuffer, const TRect& area) = 0;
  // Pointer input goes to this window until released, wherever the pointer is.
  virtual void CapturePointer() = 0;
  virtual void ReleasePointerCapture() = 0;

  // Shown or hidden inside its parent; windows start hidden.
  virtual void SetShown(bool /*shown*/) {}
  // Above its sibling windows.
  virtual void BringToFront() {}
  // The host's window this one lives in; null for none.
  virtual void* ParentHandle() const { return nullptr; }
  // This window's own native handle, for hosts that embed it by its id (an
  // X11 window id); null where the back end gives none.
  virtual void* Handle() const { return nullptr; }
  // From now on TForm::TimerTick every interval, on the window thread, until
  // StopTimer or the window goes.
  virtual void StartTimer(uint32_t /*intervalMs*/) {}
  virtual void StopTimer() {}
  // The thread that handles this window's events: by default the one that
  // made the window.
  virtual std::thread::id WindowThread() const { return creator_; }

 private:
  std::thread::id creator_ = std::this_thread::get_id();
};

// Makes a hidden window of the form's client size inside `parent`, the host's
// native window (HWND on Windows, an X11 window id on Linux); null when the
// system refuses.
using TNativeWindowFactory = std::unique_ptr<TNativeWindow> (*)(TForm& form, void* parent);

// The factory forms use; headless windows unless a back end was installed.
TNativeWindowFactory NativeWindowFactory();
// Installs a back end's factory; null goes back to headless windows. Set once,
// when a module starts, before any form asks for a window.
void SetNativeWindowFactory(TNativeWindowFactory factory);
