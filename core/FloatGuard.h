// The floating-point guard. Hosts may call in with any control word, even with
// exceptions unmasked; every entry point reloads the process default (all six
// exceptions masked, round to nearest, extended x87 precision), sets the SSE
// unit alike (masks, round to nearest) and clears pending exceptions, so that
// no trap can ever leave the plug-in and every host hears the same sound.
#pragma once

#include <cstdint>

namespace FloatGuard {

// The x87 control word established at library load: 0x1332 with all six masks.
constexpr uint16_t kDefaultControlWord = 0x133F;

// Runs once at library load: makes kDefaultControlWord the process default and
// loads it on the loading thread.
void EstablishProcessDefault();

// Reloads the process default on the calling thread, masks SSE exceptions
// and rounds SSE to nearest, and clears pending exceptions. Cheap enough for
// every audio block: a few instructions, no call into the system.
void Apply();

// Sets the six exception masks and bit 8 in the calling thread's current word,
// keeping its other bits (and masks SSE exceptions likewise).
void MaskExceptions();

// Reads the calling thread's x87 control word (0 where there is none).
uint16_t CurrentControlWord();

}  // namespace FloatGuard
