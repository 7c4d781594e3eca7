#include "EffEditor.h"

TEffEditor::TEffEditor(TAudioEffect* owner) : effect(owner) {}

TEffEditor::~TEffEditor() = default;

int32_t TEffEditor::getRect(ERect** /*rect*/) { return 0; }

int32_t TEffEditor::open(void* ptr) {
  systemWindow = ptr;
  return 0;
}

void TEffEditor::close() {}

void TEffEditor::idle() {
  // One exchange: a postUpdate racing with this idle either lands before it
  // (and is served now) or after it (and is served next time), never lost.
  if (updateFlag.exchange(false, std::memory_order_acq_rel)) update();
}

void TEffEditor::update() {}

void TEffEditor::postUpdate() { updateFlag.store(true, std::memory_order_release); }
