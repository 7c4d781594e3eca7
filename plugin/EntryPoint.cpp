// The library's one way in: the VST 2 entry point, exported as "main" (and on
// Linux also as "VSTPluginMain", the name Linux hosts look for), and the
// start-up block that prepares the floating-point state at load time.
#include <new>

#include "core/FloatGuard.h"
#include "host/AudioEffect.h"

#if defined(_WIN32)
#include <windows.h>
#if defined(ONDREL_WINDOW_WIN32)
#include "platform/win32/Win32Window.h"
#endif
#define ONDREL_EXPORT
#else
#define ONDREL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" ONDREL_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {
  FloatGuard::Apply();
  if (!audioMaster) return nullptr;
  try {
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    // A failed allocation unwinds whatever the constructors had built.
    TAudioEffect* effect = createEffectInstance(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

#if defined(_WIN32)
// Windows exports VSTPluginMain under the name "main" (see the .def file).
extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) FloatGuard::EstablishProcessDefault();
#if defined(ONDREL_WINDOW_WIN32)
  // Unloaded by the host: a copy loaded later must not find our class with
  // this code gone. At process exit (reserved set) the system drops it.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) Win32WindowModuleUnload();
#endif
  return TRUE;
}
#else
// C++ does not allow a function named main with this signature; the symbol is
// an alias of VSTPluginMain under the assembler name "main".
extern "C" ONDREL_EXPORT AEffect* VSTCALLBACK OndrelMainAlias(audioMasterCallback audioMaster) __asm__("main")
    __attribute__((alias("VSTPluginMain")));

__attribute__((constructor)) static void OndrelStartUp() { FloatGuard::EstablishProcessDefault(); }
#endif
