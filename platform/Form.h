// The container of windowless controls: the base of a plug-in's form. It owns
// its components, keeps its controls in z-order (the order they were put on
// it), paints the visible ones bottom to top into one back buffer, hands
// finished pixels to its native window and routes pointer input, with capture
// while the primary button is held.
//
// The form outlives its native windows: it can exist with none (hidden, no
// parent), be attached inside a host's window and shown, move to another
// host window, and be detached again, keeping all its controls' state.
// Everything a native window feeds it (paints, pointer, timer) first applies
// the floating-point guard.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Component.h"
#include "platform/Font.h"
#include "platform/GraphicControl.h"
#include "platform/NativeWindow.h"

class TForm : public TComponent {
 public:
  explicit TForm(TComponent* owner = nullptr);
  ~TForm() override;

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  // The position within the native parent window.
  void SetPosition(int32_t left, int32_t top);
  int32_t ClientWidth() const { return backBuffer_.Width(); }
  int32_t ClientHeight() const { return backBuffer_.Height(); }
  void SetClientSize(int32_t width, int32_t height);
  TRect ClientRect() const { return backBuffer_.BoundsRect(); }

  // A borderless form inside a host's window shows no caption; a back end
  // names its window with it, which window lists and screen readers read.
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  TColour Colour() const { return colour_; }
  void SetColour(TColour colour);
  const TFont& Font() const { return font_; }
  // Passed on to every control whose ParentFont is on.
  void SetFont(const TFont& font);

  // Bottom to top.
  const std::vector<TGraphicControl*>& Controls() const { return controls_; }

  // The form owns its window; none means nothing is shown and nothing painted.
  void SetNativeWindow(std::unique_ptr<TNativeWindow> window);
  TNativeWindow* NativeWindow() const { return window_.get(); }
  bool Showing() const { return window_ != nullptr; }

  // Makes the form's window inside the host's window `parent` (through the
  // installed factory), hidden; a form already inside another window moves
  // into this one. False, and nothing changed, for a null parent or when the
  // system refuses a window.
  bool AttachTo(void* parent);
  // Hides the form and releases its window; the form lives on.
  void Detach();
  // The host's window the form lives in; null while detached.
  void* ParentWindow() const { return window_ != nullptr ? window_->ParentHandle() : nullptr; }
  // The form's own native window; null while detached.
  void* WindowHandle() const { return window_ != nullptr ? window_->Handle() : nullptr; }
  void Show();
  void Hide();
  bool Shown() const { return shown_; }
  void BringToFront();

  // While the form has a window: `tick` runs on the window thread every
  // interval. Survives re-attaching; stops with KillTimer.
  void SetTimer(uint32_t intervalMs, std::function<void()> tick);
  void KillTimer();
  // Entry for the native window.
  void TimerTick();

  // Held by whoever feeds or changes the form from a thread that may not be
  // the only one: a back end that handles events on a thread of its own
  // holds it for each batch of events, the editor for its work on the form,
  // attaching and detaching included. So a back end's thread that waits for
  // it must give up waiting once its window is told to go.
  std::recursive_mutex& EventMutex() { return eventMutex_; }

  const TBitmap& BackBuffer() const { return backBuffer_; }
  void Invalidate(const TRect& area);
  void InvalidateAll() { Invalidate(ClientRect()); }
  // Paints the area into the back buffer and presents it. The native window
  // calls it for areas that need painting.
  void PaintArea(const TRect& area);

  // Pointer input from the native window, in client coordinates.
  void PointerDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  void PointerMove(TShiftState shift, int32_t x, int32_t y);
  void PointerUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  // The system took the capture away (another window grabbed the pointer):
  // the captured control gets a release at the last pointer position, so
  // that a drag ends as if the button had been let go there.
  void CaptureLost();

  // The topmost visible, enabled control under the point, if any.
  TGraphicControl* ControlAt(int32_t x, int32_t y) const;
  TGraphicControl* CaptureControl() const { return capture_; }

  // For TGraphicControl.
  void InsertControl(TGraphicControl* control);
  void RemoveControl(TGraphicControl* control);
  void ControlHidden(TGraphicControl* control);
  void RepaintArea(const TRect& area);
  void DrawOnControlSurface(TGraphicControl& control, const std::function<void(TCanvas&)>& draw);

  // The state of the form's own pseudo-random generator, which its controls
  // draw from while they paint (the control library's Random). 0 when the
  // form is made and never reseeded: a form's pictures follow from its own
  // drawing order, and forms painting on different threads share nothing.
  uint32_t& RandomState() { return randomState_; }

 private:
  TGraphicControl* PointerTarget(int32_t x, int32_t y) const;
  void ReleaseCapture();
  void StartWindowTimer();

  int32_t left_ = 0;
  int32_t top_ = 0;
  std::string caption_;
  TColour colour_ = clBtnFace;
  TFont font_;
  std::vector<TGraphicControl*> controls_;
  TBitmap backBuffer_;
  std::unique_ptr<TNativeWindow> window_;
  TGraphicControl* capture_ = nullptr;
  TPoint lastPointer_;
  TShiftState lastShift_ = 0;
  bool shown_ = false;
  uint32_t timerInterval_ = 0;
  std::function<void()> timerTick_;
  std::recursive_mutex eventMutex_;
  bool painting_ = false;
  TRect paintedArea_;
  uint32_t randomState_ = 0;
};
