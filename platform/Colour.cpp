#include "Colour.h"

#ifdef _WIN32
#include <windows.h>
#endif

TColour ColourToRGB(TColour colour) {
  if ((colour & clSystemColour) == 0) return colour & 0xFFFFFF;
  const int index = static_cast<int>(colour & 0xFF);
#ifdef _WIN32
  return static_cast<TColour>(GetSysColor(index)) & 0xFFFFFF;
#else
  // The classic Windows scheme, so that headless pictures look like the real thing.
  switch (index) {
    case 8: return 0x000000;
    case 15: return 0xC8D0D4;
    case 16: return 0x808080;
    case 20: return 0xFFFFFF;
    default: return 0x000000;
  }
#endif
}
