// The plug-in's editor object: what the host sizes, opens, idles and closes.
// It owns the edit form (made at the first getRect or open, kept until the
// editor goes) and carries values both ways between the plug-in and the form.
//
// Threads: the host may set parameters on its audio or automation thread.
// There parameterChanged only records which values changed (one atomic OR);
// the window thread picks the record up on the form's timer and sets the
// controls. Only the window thread touches the form, its controls and fonts.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "editor/OndrelEditForm.h"
#include "editor/ParameterAccess.h"
#include "host/EditorLink.h"

class TAudioEffect;

class TOndrelEditor final : public TOndrelEditorLink {
 public:
  // Edits the values behind `parameters`; registers itself as the editor of
  // `owner`, if there is one (a VST 2 plug-in; an LV2 editor has none).
  TOndrelEditor(TAudioEffect* owner, std::unique_ptr<TParameterAccess> parameters);
  ~TOndrelEditor() override;

  int32_t getRect(ERect** rect) override;
  int32_t open(void* parent) override;
  void close() override;
  // idle is the base's: the form's window is fed by an event thread of its
  // own or by the host's message loop, never by the host's idle call, so
  // the host's editor thread never runs the form's event handling.
  // Form to plug-in: writes all nine values and recomputes the sound.
  void update() override;
  void parameterChanged(uint32_t index) override;
  void pluginClosing() override;

  // Sets the controls of every value recorded since the last call. Window
  // thread only; the form's timer calls it.
  void ApplyHostChanges();

  // For tests and tools: the form, null before the first getRect or open.
  TOndrelEditForm* Form() const { return form.get(); }
  bool Updating() const { return updating.load(std::memory_order_relaxed); }

  // How often the window thread looks for recorded host changes.
  static constexpr uint32_t kHostChangeIntervalMs = 25;

 private:
  // Makes the form at the first getRect or open.
  void EnsureForm();
  void LoadAllValues();
  void ApplyParameter(uint32_t index);

  // What the form's values are read from and written to.
  std::unique_ptr<TParameterAccess> parameters;
  std::unique_ptr<TOndrelEditForm> form;
  ERect rect{};
  std::atomic<bool> updating{false};
  // Serialises getRect, open, close and the window thread's work on the
  // form; recursive because a timer tick may arrive while open runs on the
  // same thread.
  std::recursive_mutex lock;
  // Bit i: parameter i changed on a host thread since the controls were set.
  std::atomic<uint32_t> pending{0};
  std::atomic<std::thread::id> windowThread{std::this_thread::get_id()};
};
