#include "FontEngine.h"

namespace {
TFontEngine* current = nullptr;
}

TFontEngine& CurrentFontEngine() {
  if (current == nullptr) current = &NativeFontEngine();
  return *current;
}

void SetFontEngine(TFontEngine& engine) { current = &engine; }
