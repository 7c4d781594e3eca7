// The editor's pictures, embedded in the module at build time: the plug-in
// never reads a file at run time.
#pragma once

#include <string>

#include "platform/Bitmap.h"

// The picture of that name; an empty bitmap when there is none (or it does
// not decode), so that a missing picture shows as a gap, never a failure.
TBitmap EditorPicture(const std::string& name);
