#include "EditorTestSupport.h"

#include <thread>

#include "host/QuietHost.h"
#include "platform/FontEngine.h"

TEditorHost::TEditorHost() {
  // Pictures that do not depend on which test ran before.
  SetFontEngine(BuiltinFontEngine());
  owned_ = std::make_unique<TOndrel>(&QuietHost, &CreateOndrelEditor);
  plugin_ = owned_.get();
  effect_ = plugin_->getAeffect();
}

TEditorHost::~TEditorHost() { ClosePlugin(); }

void TEditorHost::ClosePlugin() {
  if (plugin_ == nullptr) return;
  // effClose deletes the object behind the record.
  owned_.release();
  effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
  plugin_ = nullptr;
  effect_ = nullptr;
}

TOndrelEditor& TEditorHost::Editor() { return *static_cast<TOndrelEditor*>(plugin_->Editor()); }

THeadlessWindow* TEditorHost::Window() {
  TOndrelEditForm* form = Form();
  return form != nullptr ? dynamic_cast<THeadlessWindow*>(form->NativeWindow()) : nullptr;
}

intptr_t TEditorHost::Dispatch(int32_t opcode, intptr_t value, void* ptr) {
  return effect_->dispatcher(effect_, opcode, 0, value, ptr, 0.0f);
}

ERect* TEditorHost::GetRect() {
  ERect* rect = nullptr;
  Dispatch(effEditGetRect, 0, &rect);
  return rect;
}

intptr_t TEditorHost::Open(int which) { return Dispatch(effEditOpen, 0, &hostWindows_[which]); }

void TEditorHost::SetFromHostThread(int32_t index, float value) {
  std::thread automation([this, index, value] { Set(index, value); });
  automation.join();
}

std::array<float, kNumParameters> TEditorHost::Values() {
  std::array<float, kNumParameters> values{};
  for (int32_t i = 0; i < kNumParameters; ++i) values[static_cast<size_t>(i)] = Get(i);
  return values;
}

void TEditorHost::Paint() {
  if (THeadlessWindow* window = Window()) window->ProcessPaint();
}

void TEditorHost::Click(int32_t x, int32_t y) { Window()->Click(x, y); }

void TEditorHost::Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
  THeadlessWindow* window = Window();
  window->PressPointer(fromX, fromY);
  window->MovePointer((fromX + toX) / 2, (fromY + toY) / 2);
  window->MovePointer(toX, toY);
  window->ReleasePointer(toX, toY);
}
