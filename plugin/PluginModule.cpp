// Assembles the plug-in: the sound, and the editor with the window back end
// of this platform where there is one. A build without a back end reports no
// editor rather than one that cannot open.
#include "dsp/Ondrel.h"

#if defined(ONDREL_WINDOW_WIN32)
#include "platform/win32/Win32Window.h"
#include "plugin/OndrelEditorFactory.h"
#elif defined(ONDREL_WINDOW_X11)
#include "platform/x11/X11Window.h"
#include "plugin/OndrelEditorFactory.h"
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
