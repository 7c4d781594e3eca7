// The base of a plug-in editor: what the dispatcher's editor opcodes talk to.
#pragma once

#include <atomic>

#include "host/VstAbi.h"

class TAudioEffect;

class TEffEditor {
 public:
  explicit TEffEditor(TAudioEffect* owner);
  virtual ~TEffEditor();

  TEffEditor(const TEffEditor&) = delete;
  TEffEditor& operator=(const TEffEditor&) = delete;

  // A subclass stores the address of a rectangle that lives as long as the
  // editor and answers 1; the base answers 0 and leaves the pointer alone.
  virtual int32_t getRect(ERect** rect);
  // Records the host's parent window; a subclass builds its window inside it.
  virtual int32_t open(void* ptr);
  virtual void close();
  // Runs update once if an update was requested since the last idle.
  virtual void idle();
  virtual void update();
  // Requests an update at the next idle. May be called from any thread.
  virtual void postUpdate();

  TAudioEffect* getEffect() const { return effect; }
  void* getSystemWindow() const { return systemWindow; }
  bool isUpdatePending() const { return updateFlag.load(std::memory_order_relaxed); }

 protected:
  TAudioEffect* effect;
  void* systemWindow = nullptr;
  std::atomic<bool> updateFlag{false};
};
