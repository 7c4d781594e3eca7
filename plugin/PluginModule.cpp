// Assembles the plug-in: the sound, and the editor with the window back end
// of this platform where there is one. A build without a back end reports no
// editor rather than one that cannot open.
#include "Ondrel.h"

#if defined(ONDREL_WINDOW_WIN32)
#include "OndrelEditorFactory.h"
#include "Win32Window.h"
#elif defined(ONDREL_WINDOW_X11)
#include "OndrelEditorFactory.h"
#include "X11Window.h"
#endif

TAudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
#if defined(ONDREL_WINDOW_WIN32)
  SetNativeWindowFactory(Win32WindowFactory());
  return new TOndrel(audioMaster, &CreateOndrelEditor);
#elif defined(ONDREL_WINDOW_X11)
  SetNativeWindowFactory(X11WindowFactory());
  return new TOndrel(audioMaster, &CreateOndrelEditor);
#else
  return new TOndrel(audioMaster);
#endif
}
