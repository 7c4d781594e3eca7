// Forms on Windows: each attached form gets a borderless child window of the
// host's window, at the form's position and of its client size. The window
// shows the form's back buffer and feeds the form its paints, pointer input,
// lost captures and timer ticks, all on the thread that made the window (the
// host's editor thread, whose message loop delivers them).
#pragma once

#include "platform/NativeWindow.h"

// What the module installs with SetNativeWindowFactory. The window class is
// registered on first use, with the module's own instance handle under a name
// no other module in the process uses.
TNativeWindowFactory Win32WindowFactory();

// For the module's unload: unregisters the window class, so that a copy of the
// module loaded later (or at the same address) starts afresh. Every window of
// the class must be gone by then; a later factory call registers it again.
void Win32WindowModuleUnload();
