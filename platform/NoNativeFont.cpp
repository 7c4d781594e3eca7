// Systems without a font library draw all text in the built-in font.
#include "platform/FontEngine.h"

TFontEngine& NativeFontEngine() { return BuiltinFontEngine(); }
