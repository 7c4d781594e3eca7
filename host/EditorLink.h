// What a plug-in asks of its editor beyond the frame's editor opcodes,
// whichever editor (or none) the module is built with. The plug-in sees only
// this; the windows stay on the other side of it.
#pragma once

#include <cstdint>

#include "host/EffEditor.h"

class TOndrelEditorLink : public TEffEditor {
 public:
  using TEffEditor::TEffEditor;

  // The host set parameter `index` (already stored and applied to the sound).
  // May come from any thread, the audio thread included: an implementation
  // may only record it there, with no lock, allocation or system call.
  virtual void parameterChanged(uint32_t index) = 0;

  // The plug-in is about to go: stop every window, timer and thread that
  // could still reach it. The editor object itself is freed by the effect base.
  virtual void pluginClosing() = 0;
};
