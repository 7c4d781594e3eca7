// A plug-in with its editor on headless windows, driven as a host drives it:
// parameters through the record's entries, the editor through the dispatcher.
#pragma once

#include <array>
#include <memory>

#include "dsp/Ondrel.h"
#include "editor/OndrelEditor.h"
#include "platform/HeadlessWindow.h"
#include "plugin/OndrelEditorFactory.h"

class TEditorHost {
 public:
  TEditorHost();
  ~TEditorHost();

  AEffect* Effect() const { return effect_; }
  TOndrel& Plugin() { return *plugin_; }
  TOndrelEditor& Editor();
  // Null before the first getRect or open.
  TOndrelEditForm* Form() { return Editor().Form(); }
  THeadlessWindow* Window();

  intptr_t Dispatch(int32_t opcode, intptr_t value = 0, void* ptr = nullptr);
  ERect* GetRect();
  // Opens in one of two pretend host windows (any non-null handle will do).
  intptr_t Open(int which = 0);
  void Close() { Dispatch(effEditClose); }
  void Set(int32_t index, float value) { effect_->setParameter(effect_, index, value); }
  // As a host's audio or automation thread does: the editor only records it.
  void SetFromHostThread(int32_t index, float value);
  float Get(int32_t index) { return effect_->getParameter(effect_, index); }
  std::array<float, kNumParameters> Values();
  // Paints what is pending, as the message loop would.
  void Paint();

  // Pointer input in form coordinates.
  void Click(int32_t x, int32_t y);
  void Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);

  // Closes the plug-in as a host does with effClose.
  void ClosePlugin();

 private:
  std::unique_ptr<TOndrel> owned_;
  TOndrel* plugin_ = nullptr;
  AEffect* effect_ = nullptr;
  int hostWindows_[2] = {};
};

// Knob centres and button positions on the form.
struct TSpot {
  int32_t X;
  int32_t Y;
};
constexpr TSpot kCutoffCentre{79, 101};
constexpr TSpot kRateCentre{384, 101};
constexpr TSpot kMixCentre{477, 215};
constexpr TSpot kBassModeButton{80, 215};
constexpr TSpot kLoFiButton{198, 215};
constexpr TSpot kMonoButton{278, 215};
constexpr TSpot kStereoButton{317, 215};
constexpr TSpot kDualButton{356, 215};
constexpr TSpot kHaasButton{395, 215};
