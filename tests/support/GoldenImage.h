// Pictures compared pixel for pixel with recorded ones (24-bit BMP files,
// readable on every build without an image library). After an intended
// change, run the test with ONDREL_UPDATE_GOLDEN=1 set: it writes the
// recordings anew; look at them before committing.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/Bitmap.h"

::testing::AssertionResult MatchesGolden(const TBitmap& picture, const std::string& path);
