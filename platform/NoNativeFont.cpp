// Systems without a font library draw all text in the built-in font.
#include "FontEngine.h"

TFontEngine& NativeFontEngine() { return BuiltinFontEngine(); }
